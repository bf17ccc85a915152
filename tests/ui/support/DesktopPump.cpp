#include <windows.h>

#include "tests/ui/support/DesktopPump.h"

#include "ui/WindowManagerUI.h"

namespace UiTest {

bool Pump() {
    bool quit = false;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit = true;
            continue;
        }
        if (!SkinUI::CWindowManagerUI::PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return quit;
}

bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs, bool* metQuit) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (Pump() && metQuit != nullptr) {
            *metQuit = true;
        }
        if (pred()) {
            return true;
        }
        if (::GetTickCount64() >= end) {
            return false;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

} // namespace UiTest
