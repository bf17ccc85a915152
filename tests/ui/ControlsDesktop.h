#pragma once
#include <windows.h>

#include "ui/WindowManagerUI.h"

#include "tests/support/DibSurface.h"
#include "tests/ui/ControlsTestSupport.h"
#include "tests/ui/support/DesktopInput.h"
#include "tests/ui/support/DesktopPump.h"
#include "tests/ui/support/HostWindow.h"

#include <memory>

// One shown window with a manager for the controls' desktop tests, real
// input through SendInput, and the painted pixels read back.
namespace ControlsTest {

constexpr int kLeft = 60;
constexpr int kTop = 60;
constexpr int kWidth = 640;
constexpr int kHeight = 480;

using namespace UiTest;
using HostWnd = ProgramWindow;

inline HostWnd& Host() {
    UseStateImageArchive();
    return TheProgramWindow(kLeft, kTop, kWidth, kHeight);
}

// ---- Real input -------------------------------------------------------------------

inline void MoveTo(int clientX, int clientY) {
    MoveScreen(kLeft + clientX, kTop + clientY);
}

inline void MoveTo(POINT client) {
    MoveTo(client.x, client.y);
}

// ---- Pixels -----------------------------------------------------------------------

// The window's client area as painted now (pending paints done first).
inline std::unique_ptr<TestSupport::DibSurface> Capture(HWND hwnd) {
    Pump();
    ::UpdateWindow(hwnd);
    return UiTest::CaptureClient(hwnd, kWidth, kHeight);
}

inline bool Near(uint32_t a, uint32_t b, int tolerance = 3) {
    return TestSupport::ChannelDistance(a, b) <= tolerance;
}

} // namespace ControlsTest
