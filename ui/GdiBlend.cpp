#include <windows.h>

#include "ui/GdiBlend.h"

namespace SkinUI {
namespace GdiBlend {

namespace {

template <typename Func> Func Lookup(const char* name) {
    const HMODULE gdi32 = ::GetModuleHandleW(L"gdi32.dll");
    if (gdi32 == nullptr) {
        return nullptr;
    }
    // GetProcAddress hands out a generic function pointer; the export's
    // real signature is the one declared for it in the header.
    return reinterpret_cast<Func>(reinterpret_cast<void*>(::GetProcAddress(gdi32, name)));
}

} // namespace

AlphaBlendFunc AlphaBlendFunction() {
    // Function-local statics are initialised once, also with threads.
    static const AlphaBlendFunc function = Lookup<AlphaBlendFunc>("GdiAlphaBlend");
    return function;
}

GradientFillFunc GradientFillFunction() {
    static const GradientFillFunc function = Lookup<GradientFillFunc>("GdiGradientFill");
    return function;
}

} // namespace GdiBlend
} // namespace SkinUI
