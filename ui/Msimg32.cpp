#include <windows.h>

#include "ui/Msimg32.h"

namespace SkinUI {
namespace Msimg32 {

namespace {

const wchar_t kLibraryName[] = L"msimg32.dll";

template <typename Func> Func Lookup(const char* name) {
    const HMODULE module = Load();
    if (module == nullptr) {
        return nullptr;
    }
    // GetProcAddress hands out a generic function pointer; the export's
    // real signature is the one declared for it in the header.
    return reinterpret_cast<Func>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

} // namespace

HMODULE Load() {
    // Function-local statics are initialised once, also with threads.
    static const HMODULE module = [] {
        HMODULE loaded = ::GetModuleHandleW(kLibraryName);
        return loaded != nullptr ? loaded : ::LoadLibraryW(kLibraryName);
    }();
    return module;
}

AlphaBlendFunc AlphaBlendFunction() {
    static const AlphaBlendFunc function = Lookup<AlphaBlendFunc>("AlphaBlend");
    return function;
}

GradientFillFunc GradientFillFunction() {
    static const GradientFillFunc function = Lookup<GradientFillFunc>("GradientFill");
    return function;
}

} // namespace Msimg32
} // namespace SkinUI
