#include <windows.h>

#include "tests/ui/support/HostWindow.h"

#include "tests/ui/support/DesktopInput.h"
#include "tests/ui/support/DesktopPump.h"

namespace UiTest {

LRESULT HostWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        pm.Init(m_hWnd);
        return 0;
    }
    Seen(message, wParam, lParam);
    LRESULT result = 0;
    if (pm.HandleWindowMessage(message, wParam, lParam, result)) {
        return result;
    }
    if (PassedOn(message, wParam, lParam, result)) {
        return result;
    }
    if (message == WM_CLOSE) {
        return 0;
    }
    return SkinUI::CWindowWnd::HandleMessage(message, wParam, lParam);
}

void HostWindow::Open(LPCWSTR title, int left, int top, int width, int height) {
    SkinUI::CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    Create(nullptr, title, WS_POPUP | WS_VISIBLE, 0, left, top, width, height);
    // A key sent while another window has the keyboard would go there, and
    // the test would fail far from the cause.
    if (!TakeKeyboard(m_hWnd)) {
        ADD_FAILURE() << "the window \"" << title << "\" did not get the keyboard";
    }
}

bool ProgramWindow::PassedOn(UINT message, WPARAM, LPARAM, LRESULT& result) {
    passedOn.push_back(message);
    return answer && answer(message, result);
}

namespace {

// Destroys the program's window when the tests end.
class ProgramWindowOwner : public ::testing::Environment {
public:
    void TearDown() override {
        if (wnd != nullptr && ::IsWindow(*wnd)) {
            ::DestroyWindow(*wnd);
        }
    }
    ProgramWindow* wnd = nullptr;
};

ProgramWindowOwner& Owner() {
    static auto* owner = static_cast<ProgramWindowOwner*>(
        ::testing::AddGlobalTestEnvironment(new ProgramWindowOwner));
    return *owner;
}

// Registered before the tests run, so that the window is destroyed after them.
const ProgramWindowOwner& g_owner = Owner();

} // namespace

ProgramWindow& TheProgramWindow(int left, int top, int width, int height) {
    ProgramWindow*& wnd = Owner().wnd;
    if (wnd == nullptr) {
        wnd = new ProgramWindow();
        wnd->Open(L"ui test", left, top, width, height);
    } else {
        RECT rc = {};
        ::GetWindowRect(*wnd, &rc);
        if (rc.left != left || rc.top != top || rc.right - rc.left != width ||
            rc.bottom - rc.top != height) {
            ::SetWindowPos(*wnd, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
            PumpFor(20);
        }
    }
    wnd->answer = nullptr;
    return *wnd;
}

std::unique_ptr<TestSupport::DibSurface> CaptureClient(HWND hwnd, int width, int height) {
    return TestSupport::CopyWindowPixels(hwnd, RECT{0, 0, width, height});
}

std::unique_ptr<TestSupport::DibSurface> CaptureScreen(const RECT& rc) {
    return TestSupport::CopyWindowPixels(::GetDesktopWindow(), rc);
}

} // namespace UiTest
