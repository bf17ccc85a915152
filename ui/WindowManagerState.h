#pragma once
#include <windows.h>

#include "ui/UIPtrArray.h"
#include "ui/UIString.h"

namespace SkinUI {

// The process-wide half of the window manager, shared by its source files.
// It lives in a function-local object so that static initialisers of other
// files may already use it, and it outlives every manager made after it.
struct WindowManagerState {
    // Every manager after Init, in that order.
    CUIPtrArray managers;
    // Outlines the update rectangle when a skin asks for it; made by the
    // first manager.
    HPEN updateRectPen = nullptr;
    bool firstManagerMade = false;

    WindowManagerState() = default;
    WindowManagerState(const WindowManagerState&) = delete;
    WindowManagerState& operator=(const WindowManagerState&) = delete;
    ~WindowManagerState();
};

WindowManagerState& ManagerState();

// The key and mouse-button state of keyboard-like events.
WORD MapKeyState();

} // namespace SkinUI
