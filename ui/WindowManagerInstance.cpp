#include <windows.h>

#include "ui/WindowManagerUI.h"

#include <vector>

namespace SkinUI {

// Process-wide state lives in function-local objects, so that static
// initialisers of other files may already use it.
namespace {

HINSTANCE& Instance() {
    static HINSTANCE instance = nullptr;
    return instance;
}

CUIString& ResourcePath() {
    static CUIString path;
    return path;
}

CUIString& ResourceZipName() {
    static CUIString name;
    return name;
}

} // namespace

void CWindowManagerUI::SetInstance(HINSTANCE instance) {
    Instance() = instance;
}

HINSTANCE CWindowManagerUI::GetInstance() {
    return Instance();
}

HINSTANCE CWindowManagerUI::GetResourceInstance() {
    return Instance();
}

CUIString CWindowManagerUI::GetInstancePath() {
    if (Instance() == nullptr) {
        return CUIString();
    }
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(Instance(), name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) {
            return CUIString();
        }
        if (length < name.size()) {
            break;
        }
        if (name.size() >= 32768) {
            return CUIString();
        }
        name.resize(name.size() * 2);
    }
    CUIString path(name.data());
    const int slash = path.ReverseFind(L'\\');
    return slash < 0 ? CUIString() : path.Left(slash + 1);
}

void CWindowManagerUI::SetResourcePath(LPCWSTR path) {
    CUIString& stored = ResourcePath();
    stored = path;
    if (stored.IsEmpty()) {
        return;
    }
    const wchar_t last = stored.GetAt(stored.GetLength() - 1);
    if (last != L'\\' && last != L'/') {
        stored += L'\\';
    }
}

const CUIString& CWindowManagerUI::GetResourcePath() {
    return ResourcePath();
}

const CUIString& CWindowManagerUI::GetResourceZip() {
    return ResourceZipName();
}

} // namespace SkinUI
