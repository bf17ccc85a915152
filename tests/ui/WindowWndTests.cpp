#include <windows.h>

#include "ui/WindowManagerUI.h"
#include "ui/WindowWnd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using SkinUI::CWindowManagerUI;
using SkinUI::CWindowWnd;

namespace {

const UINT kPing = WM_APP + 17;

struct Record {
    std::vector<UINT> messages;
    std::vector<HWND> destroyed;
    WPARAM closeParam = 0;
    bool deleted = false;
};

// A plain registered class.
class TestWnd : public CWindowWnd {
public:
    explicit TestWnd(Record* record, bool failCreate = false, bool ownsLifetime = false)
        : record_(record), failCreate_(failCreate), ownsLifetime_(ownsLifetime) {}
    ~TestWnd() override { record_->deleted = true; }

    LPCWSTR GetWindowClassName() const override { return L"SkinCoreTestWnd"; }
    UINT GetClassStyle() const override { return CS_DBLCLKS; }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        record_->messages.push_back(message);
        if (message == WM_CREATE && failCreate_) {
            return -1;
        }
        if (message == kPing) {
            return 42;
        }
        if (message == WM_CLOSE) {
            record_->closeParam = wParam;
            return 0;
        }
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }

    void OnWindowDestroyed(HWND hWnd) override {
        record_->destroyed.push_back(hWnd);
        if (ownsLifetime_) {
            delete this;
        }
    }

    bool Saw(UINT message) const {
        for (UINT m : record_->messages) {
            if (m == message) {
                return true;
            }
        }
        return false;
    }

private:
    Record* record_;
    bool failCreate_;
    bool ownsLifetime_;
};

// A superclass of the platform's edit control.
class EditWnd : public CWindowWnd {
public:
    explicit EditWnd(Record* record) : record_(record) {}
    ~EditWnd() override { record_->deleted = true; }
    LPCWSTR GetWindowClassName() const override { return L"SkinCoreEditWnd"; }
    LPCWSTR GetSuperclassName() const override { return L"Edit"; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        record_->messages.push_back(message);
        if (message == kPing) {
            return 43;
        }
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }
    void OnWindowDestroyed(HWND hWnd) override { record_->destroyed.push_back(hWnd); }

private:
    Record* record_;
};

class MissingBaseWnd : public CWindowWnd {
public:
    LPCWSTR GetWindowClassName() const override { return L"SkinCoreNoBase"; }
    LPCWSTR GetSuperclassName() const override { return L"NoSuchSystemClass"; }
};

// Takes over an existing window.
class HookWnd : public CWindowWnd {
public:
    explicit HookWnd(Record* record) : record_(record) {}
    ~HookWnd() override { record_->deleted = true; }
    LPCWSTR GetWindowClassName() const override { return L"SkinCoreHook"; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        record_->messages.push_back(message);
        if (message == kPing) {
            return 44;
        }
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }
    void OnWindowDestroyed(HWND hWnd) override { record_->destroyed.push_back(hWnd); }

private:
    Record* record_;
};

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

RECT WorkAreaOf(HWND hWnd) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

RECT RectOf(HWND hWnd) {
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    return rc;
}

class WindowWndTest : public ::testing::Test {
protected:
    void SetUp() override { CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }
    void TearDown() override { Pump(); }
};

} // namespace

TEST_F(WindowWndTest, DestructionCallbackRunsOnceWithTheOldHandle) {
    Record r;
    TestWnd w(&r);
    HWND h = w.Create(nullptr, L"d", WS_POPUP, 0, 0, 0, 50, 50);
    ASSERT_NE(nullptr, h);
    EXPECT_TRUE(::DestroyWindow(h));
    EXPECT_EQ(nullptr, w.GetHWND());
    ASSERT_EQ(1u, r.destroyed.size());
    EXPECT_EQ(h, r.destroyed[0]);
    EXPECT_FALSE(w.Saw(WM_NCDESTROY)); // the last message goes to the previous procedure
    EXPECT_TRUE(w.Saw(WM_DESTROY));
    EXPECT_FALSE(r.deleted);
    // Nothing happens on a window that is gone.
    w.ShowWindow();
    w.CenterWindow();
    w.Close();
    EXPECT_EQ(1u, r.destroyed.size());
}

TEST_F(WindowWndTest, EveryObjectOfAClassRegistersItAndCreatesItsWindow) {
    Record r1, r2;
    TestWnd first(&r1), second(&r2);
    HWND h1 = first.Create(nullptr, L"first", WS_POPUP, 0, 10, 10, 100, 80);
    ASSERT_NE(nullptr, h1);
    // The class exists now (error 1410): still a success.
    EXPECT_TRUE(second.RegisterWindowClass());
    HWND h2 = second.Create(nullptr, L"second", WS_POPUP, 0, RECT{20, 30, 220, 130});
    ASSERT_NE(nullptr, h2);
    EXPECT_NE(h1, h2);
    const RECT rc = RectOf(h2);
    EXPECT_EQ(20, rc.left);
    EXPECT_EQ(30, rc.top);
    EXPECT_EQ(200, rc.right - rc.left);
    EXPECT_EQ(100, rc.bottom - rc.top);
    EXPECT_EQ(42, ::SendMessageW(h2, kPing, 0, 0));
    ::DestroyWindow(h1);
    ::DestroyWindow(h2);
}

TEST_F(WindowWndTest, CentresOnTheOwnerOrTheWorkAreaAndStaysInside) {
    Record ro, rw;
    TestWnd owner(&ro);
    ASSERT_NE(nullptr, owner.Create(nullptr, L"owner", WS_POPUP, 0, 200, 150, 400, 300));
    const RECT area = WorkAreaOf(owner);
    const struct {
        const char* what;
        bool owned;
        RECT ownerPlace; // left, top, width, height
        SIZE size;
        POINT expected;
    } cases[] = {
        {"no owner",
         false,
         {},
         {301, 201},
         {(area.left + area.right) / 2 - 150, (area.top + area.bottom) / 2 - 100}},
        {"no owner, larger than the work area",
         false,
         {},
         {area.right - area.left + 200, area.bottom - area.top + 100},
         {area.left, area.top}},
        {"on the owner", true, {200, 150, 400, 300}, {100, 60}, {400 - 50, 300 - 30}},
        {"owner at the bottom-right edge",
         true,
         {area.right - 60, area.bottom - 40, 100, 80},
         {100, 60},
         {area.right - 100, area.bottom - 60}},
        {"owner at the top-left edge",
         true,
         {area.left - 30, area.top - 20, 40, 30},
         {100, 60},
         {area.left, area.top}},
    };
    for (const auto& c : cases) {
        if (c.owned) {
            ::SetWindowPos(owner, nullptr, c.ownerPlace.left, c.ownerPlace.top, c.ownerPlace.right,
                           c.ownerPlace.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        TestWnd w(&rw);
        ASSERT_NE(nullptr, w.Create(c.owned ? owner.GetHWND() : nullptr, L"centred", WS_POPUP, 0, 3,
                                    7, c.size.cx, c.size.cy));
        w.CenterWindow();
        const RECT rc = RectOf(w);
        EXPECT_EQ(c.expected.x, rc.left) << c.what;
        EXPECT_EQ(c.expected.y, rc.top) << c.what;
        EXPECT_EQ(c.size.cx, rc.right - rc.left) << c.what; // the size stays
        ::DestroyWindow(w);
    }
    ::DestroyWindow(owner);
}

TEST_F(WindowWndTest, ClosePostsWmCloseWithTheResultCode) {
    Record r;
    TestWnd w(&r);
    ASSERT_NE(nullptr, w.Create(nullptr, L"close", WS_POPUP, 0, 0, 0, 60, 60));
    w.Close(7);
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageW(&msg, w, WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
    EXPECT_EQ(7u, msg.wParam);
    EXPECT_EQ(0, msg.lParam);
    Pump();
    EXPECT_EQ(7u, r.closeParam);
    EXPECT_TRUE(::IsWindow(w)); // the handler kept the window
    w.Close();
    Pump();
    EXPECT_EQ(static_cast<WPARAM>(IDOK), r.closeParam);
    ::DestroyWindow(w);
}

TEST_F(WindowWndTest, SelfDeletingWindowObject) {
    Record r;
    auto* w = new TestWnd(&r, false, true);
    HWND h = w->Create(nullptr, L"self", WS_POPUP, 0, 0, 0, 50, 50);
    ASSERT_NE(nullptr, h);
    ::DestroyWindow(h);
    EXPECT_TRUE(r.deleted);
    EXPECT_EQ(1u, r.destroyed.size());
}

TEST_F(WindowWndTest, FailedCreationReportsNullAndCallsTheCallback) {
    Record r;
    TestWnd w(&r, true);
    EXPECT_EQ(nullptr, w.Create(nullptr, L"fail", WS_POPUP, 0, 0, 0, 50, 50));
    EXPECT_EQ(nullptr, w.GetHWND());
    EXPECT_EQ(1u, r.destroyed.size());

    // An object that deletes itself in the callback is not touched afterwards.
    Record r2;
    auto* self = new TestWnd(&r2, true, true);
    EXPECT_EQ(nullptr, self->Create(nullptr, L"fail", WS_POPUP, 0, 0, 0, 50, 50));
    EXPECT_TRUE(r2.deleted);
}

bool HasVisibleStyle(HWND hWnd) {
    return (::GetWindowLongW(hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

TEST_F(WindowWndTest, SuperclassOfTheEditControl) {
    Record parentRecord, r;
    TestWnd parent(&parentRecord);
    ASSERT_NE(nullptr, parent.Create(nullptr, L"p", WS_POPUP, 0, 0, 0, 300, 200));
    EditWnd edit(&r);
    HWND h = edit.Create(parent, L"text", WS_CHILD | WS_VISIBLE, 0, 5, 5, 200, 24);
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(&edit, static_cast<CWindowWnd*>(::GetPropW(h, L"WndX")));
    EXPECT_EQ(0, ::GetWindowLongPtrW(h, GWLP_USERDATA));
    EXPECT_EQ(43, edit.SendMessage(kPing));
    // Unhandled messages reach the edit control's own procedure.
    edit.SendMessage(EM_SETLIMITTEXT, 17);
    EXPECT_EQ(17, edit.SendMessage(EM_GETLIMITTEXT));
    wchar_t text[16] = {};
    ::GetWindowTextW(h, text, 16);
    EXPECT_STREQ(L"text", text);
    // A second object of the same superclass.
    Record r2;
    EditWnd edit2(&r2);
    ASSERT_NE(nullptr, edit2.Create(parent, L"", WS_CHILD, 0, 5, 40, 200, 24));
    edit2.SendMessage(EM_SETLIMITTEXT, 5);
    EXPECT_EQ(5, edit2.SendMessage(EM_GETLIMITTEXT));

    ::DestroyWindow(parent);
    EXPECT_EQ(nullptr, edit.GetHWND());
    ASSERT_EQ(1u, r.destroyed.size());
    EXPECT_EQ(h, r.destroyed[0]);
    EXPECT_EQ(1u, r2.destroyed.size());
}

TEST_F(WindowWndTest, SubclassingAnExistingWindow) {
    HWND button = ::CreateWindowExW(0, L"Button", L"caption", WS_POPUP, 0, 0, 80, 30, nullptr,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, button);
    const LONG_PTR original = ::GetWindowLongPtrW(button, GWLP_WNDPROC);
    Record r;
    HookWnd hook(&r);
    EXPECT_EQ(nullptr, hook.Subclass(nullptr));
    ASSERT_EQ(button, hook.Subclass(button));
    EXPECT_EQ(button, hook.GetHWND());
    EXPECT_NE(original, ::GetWindowLongPtrW(button, GWLP_WNDPROC));
    EXPECT_EQ(44, ::SendMessageW(button, kPing, 0, 0));
    wchar_t text[16] = {};
    ::GetWindowTextW(button, text, 16); // passed on to the button's procedure
    EXPECT_STREQ(L"caption", text);
    EXPECT_TRUE(std::find(r.messages.begin(), r.messages.end(), static_cast<UINT>(WM_GETTEXT)) !=
                r.messages.end());

    // A window taken by one object cannot be taken by another.
    Record r2;
    HookWnd second(&r2);
    EXPECT_EQ(nullptr, second.Subclass(button));

    hook.Unsubclass();
    EXPECT_EQ(original, ::GetWindowLongPtrW(button, GWLP_WNDPROC));
    EXPECT_EQ(nullptr, ::GetPropW(button, L"WndX"));
    EXPECT_EQ(0, ::SendMessageW(button, kPing, 0, 0));

    // Subclass again, then destroy: the callback runs and the object detaches.
    HookWnd third(&r2);
    ASSERT_EQ(button, third.Subclass(button));
    ::DestroyWindow(button);
    EXPECT_EQ(nullptr, third.GetHWND());
    ASSERT_EQ(1u, r2.destroyed.size());
    EXPECT_EQ(button, r2.destroyed[0]);
}

TEST_F(WindowWndTest, DeletingTheObjectOfALiveWindowDetachesIt) {
    Record r;
    auto* w = new TestWnd(&r);
    HWND h = w->Create(nullptr, L"orphan", WS_POPUP, 0, 0, 0, 50, 50);
    ASSERT_NE(nullptr, h);
    delete w;
    ASSERT_TRUE(::IsWindow(h));
    EXPECT_EQ(0, ::GetWindowLongPtrW(h, GWLP_USERDATA));
    const size_t seen = r.messages.size();
    EXPECT_EQ(0, ::SendMessageW(h, kPing, 0, 0)); // default handling now
    ::SetWindowTextW(h, L"still works");
    ::SetWindowPos(h, nullptr, 10, 10, 70, 70, SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    EXPECT_EQ(seen, r.messages.size());
    EXPECT_TRUE(::DestroyWindow(h));
    EXPECT_TRUE(r.destroyed.empty()); // no callback into a deleted object
}

TEST_F(WindowWndTest, DeletingASuperclassedObjectLeavesAWorkingControl) {
    Record pr, r;
    TestWnd parent(&pr);
    ASSERT_NE(nullptr, parent.Create(nullptr, L"p", WS_POPUP, 0, 0, 0, 300, 200));
    auto* edit = new EditWnd(&r);
    HWND h = edit->Create(parent, L"abc", WS_CHILD | WS_VISIBLE, 0, 0, 0, 100, 20);
    ASSERT_NE(nullptr, h);
    delete edit;
    EXPECT_EQ(nullptr, ::GetPropW(h, L"WndX"));
    ::SendMessageW(h, EM_SETLIMITTEXT, 9, 0);
    EXPECT_EQ(9, ::SendMessageW(h, EM_GETLIMITTEXT, 0, 0)); // still an edit control
    EXPECT_EQ(0, ::SendMessageW(h, kPing, 0, 0));
    ::DestroyWindow(parent);
    EXPECT_TRUE(r.destroyed.empty());
}

TEST_F(WindowWndTest, DeletingASubclassingObjectRestoresTheWindow) {
    HWND button = ::CreateWindowExW(0, L"Button", L"b", WS_POPUP, 0, 0, 80, 30, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, button);
    const LONG_PTR original = ::GetWindowLongPtrW(button, GWLP_WNDPROC);
    Record r;
    auto* hook = new HookWnd(&r);
    ASSERT_EQ(button, hook->Subclass(button));
    delete hook;
    EXPECT_EQ(original, ::GetWindowLongPtrW(button, GWLP_WNDPROC));
    EXPECT_EQ(nullptr, ::GetPropW(button, L"WndX"));
    EXPECT_EQ(0, ::SendMessageW(button, kPing, 0, 0));
    ::DestroyWindow(button);
    EXPECT_TRUE(r.destroyed.empty());
}

TEST_F(WindowWndTest, DeletingAnObjectAfterUnsubclassLeavesTheWindowAlone) {
    HWND button = ::CreateWindowExW(0, L"Button", L"b", WS_POPUP, 0, 0, 80, 30, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, button);
    const LONG_PTR original = ::GetWindowLongPtrW(button, GWLP_WNDPROC);
    Record r;
    auto* hook = new HookWnd(&r);
    ASSERT_EQ(button, hook->Subclass(button));
    hook->Unsubclass();
    delete hook;
    EXPECT_EQ(original, ::GetWindowLongPtrW(button, GWLP_WNDPROC));
    wchar_t text[8] = {};
    ::GetWindowTextW(button, text, 8);
    EXPECT_STREQ(L"b", text);
    ::DestroyWindow(button);
}
