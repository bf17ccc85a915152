#pragma once
#include <windows.h>

#include "ui/WindowManagerUI.h"
#include "ui/WindowWnd.h"

#include "tests/support/DibSurface.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

// The shown popup that the UI desktop tests put their controls into: its
// messages go through its manager first, and it stays open when asked to
// close, for the tests after.
namespace UiTest {

class HostWindow : public SkinUI::CWindowWnd {
public:
    explicit HostWindow(LPCWSTR className) : className_(className) {}

    SkinUI::CWindowManagerUI pm;

    LPCWSTR GetWindowClassName() const override { return className_; }
    UINT GetClassStyle() const override { return CS_DBLCLKS; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Creates it as a shown popup at the given screen place and waits until
    // it is the foreground window with the focus; the running test fails
    // when it does not get there.
    void Open(LPCWSTR title, int left, int top, int width, int height);

protected:
    // Every message but WM_CREATE, before the manager has it.
    virtual void Seen(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {}
    // A message the manager left to the window; true when handled here.
    virtual bool PassedOn(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                          LRESULT& /*result*/) {
        return false;
    }

private:
    LPCWSTR className_;
};

// The one host window of a test program (creating windows is slow under
// Wine): opened on first use, destroyed when the program's tests end.
// Registered with ::testing::AddGlobalTestEnvironment, which owns it.
template <typename Wnd> class SharedHost : public ::testing::Environment {
public:
    SharedHost(LPCWSTR title, int left, int top, int width, int height)
        : title_(title), place_{left, top, width, height} {}

    Wnd& Get() {
        if (wnd_ == nullptr) {
            wnd_ = new Wnd();
            wnd_->Open(title_, place_.left, place_.top, place_.right, place_.bottom);
        }
        return *wnd_;
    }
    void TearDown() override {
        if (wnd_ != nullptr && ::IsWindow(*wnd_)) {
            ::DestroyWindow(*wnd_);
        }
    }

private:
    LPCWSTR title_;
    RECT place_; // left, top, width, height
    Wnd* wnd_ = nullptr;
};

// Registers a SharedHost<Wnd> with gtest and hands it back.
template <typename Wnd>
SharedHost<Wnd>& AddSharedHost(LPCWSTR title, int left, int top, int width, int height) {
    auto* host = new SharedHost<Wnd>(title, left, top, width, height);
    ::testing::AddGlobalTestEnvironment(host);
    return *host;
}

// The one shown window of a desktop test program, shared by its fixtures
// (creating windows is slow under Wine): each fixture takes it at the place
// its coordinates assume. The messages its manager leaves are recorded, and
// a fixture may answer them.
class ProgramWindow : public HostWindow {
public:
    ProgramWindow() : HostWindow(L"UiTestProgramWindow") {}
    std::vector<UINT> passedOn;
    // Answers a passed-on message (true: handled, with the result set).
    std::function<bool(UINT, LRESULT&)> answer;

protected:
    bool PassedOn(UINT message, WPARAM, LPARAM, LRESULT& result) override;
};

// Opens the program's window at the given screen place on first use, moves
// it there on later ones; the previous fixture's answer is dropped.
ProgramWindow& TheProgramWindow(int left, int top, int width, int height);

// The window's client area from (0, 0), width x height, as painted now.
std::unique_ptr<TestSupport::DibSurface> CaptureClient(HWND hwnd, int width, int height);
// The screen inside rc as shown now: a window together with the popups over it.
std::unique_ptr<TestSupport::DibSurface> CaptureScreen(const RECT& rc);

} // namespace UiTest
