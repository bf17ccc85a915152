#pragma once
#include <windows.h>

#include "ui/UIString.h"

namespace SkinUI {

// The per-window centre of the framework. Declared here so far: the
// process-wide state that the window base and the XML reader need.
class CWindowManagerUI {
public:
    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetInstance();
    static HINSTANCE GetResourceInstance();
    static CUIString GetInstancePath();
    static void SetResourcePath(LPCWSTR path);
    static const CUIString& GetResourcePath();
    // "membuffer" once a skin archive in memory is set, else empty.
    static const CUIString& GetResourceZip();
};

} // namespace SkinUI
