#include <windows.h>

#include "ui/WindowManagerState.h"
#include "ui/SkinSourceUI.h"
#include "ui/WindowManagerUI.h"

#include <vector>

namespace SkinUI {

WindowManagerState::~WindowManagerState() {
    if (updateRectPen != nullptr) {
        ::DeleteObject(updateRectPen);
    }
}

WindowManagerState& ManagerState() {
    static WindowManagerState state;
    return state;
}

void CWindowManagerUI::SetInstance(HINSTANCE instance) {
    CSkinSourceUI::SetInstance(instance);
}

HINSTANCE CWindowManagerUI::GetInstance() {
    return CSkinSourceUI::GetInstance();
}

HINSTANCE CWindowManagerUI::GetResourceInstance() {
    return CSkinSourceUI::GetResourceInstance();
}

CUIString CWindowManagerUI::GetInstancePath() {
    return CSkinSourceUI::GetInstancePath();
}

void CWindowManagerUI::SetResourcePath(LPCWSTR path) {
    CSkinSourceUI::SetResourcePath(path);
}

const CUIString& CWindowManagerUI::GetResourcePath() {
    return CSkinSourceUI::GetResourcePath();
}

ZipHandle CWindowManagerUI::SetResourceZip(LPVOID bytes, unsigned int length) {
    return CSkinSourceUI::SetResourceZip(bytes, length);
}

const CUIString& CWindowManagerUI::GetResourceZip() {
    return CSkinSourceUI::GetResourceZip();
}

bool CWindowManagerUI::IsCachedResourceZip() {
    return CSkinSourceUI::IsCachedResourceZip();
}

ZipHandle CWindowManagerUI::GetResourceZipHandle() {
    return CSkinSourceUI::GetResourceZipHandle();
}

CWindowManagerUI::ResourceZipReadUI
CWindowManagerUI::ReadResourceZipItem(LPCWSTR name, DWORD maxSize, std::vector<BYTE>& bytes) {
    return CSkinSourceUI::ReadResourceZipItem(name, maxSize, bytes);
}

// Nothing changes the colour adjustment: it stays at the values that leave colours unchanged.
void CWindowManagerUI::GetHSL(int* hue, int* saturation, int* lightness) {
    if (hue != nullptr) {
        *hue = 180;
    }
    if (saturation != nullptr) {
        *saturation = 100;
    }
    if (lightness != nullptr) {
        *lightness = 100;
    }
}

} // namespace SkinUI
