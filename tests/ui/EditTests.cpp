#include <windows.h>

#include "ui/controls/EditUI.h"

#include "tests/support/FileUtil.h"
#include "tests/ui/TextEntryDesktop.h"

#include <gtest/gtest.h>

using namespace TextEntryTest;
using SkinUI::CContainerUI;
using SkinUI::CEditUI;

namespace {

std::wstring NativeText(HWND hwnd) {
    wchar_t text[256] = {};
    ::GetWindowTextW(hwnd, text, 256);
    return text;
}

// A system colour as 0xRRGGBB.
uint32_t SysRgb(int index) {
    const COLORREF c = ::GetSysColor(index);
    return RGB(GetBValue(c), GetGValue(c), GetRValue(c));
}

TEST(Edit, ClickTypeEnterAndTabAway) {
    Show(L"<Edit name=\"a\" float=\"true\" pos=\"20,20,220,60\" text=\"xy\"/>"
         L"<Edit name=\"b\" float=\"true\" pos=\"20,80,220,110\"/>");
    auto* a = Find<CEditUI>(L"a");
    ClickOn(L"a");
    const HWND native = Native(L"EditWnd");
    ASSERT_NE(native, nullptr);
    // One font height high, centred in the text area (padding 3 above and below).
    RECT rn = {};
    ::GetWindowRect(native, &rn);
    EXPECT_EQ(rn.bottom - rn.top, Host().pm.GetFontInfo(-1)->tm.tmHeight);
    EXPECT_LE(std::abs((rn.top - kTop - 23) - (kTop + 57 - rn.bottom)), 1);
    EXPECT_EQ(Log.Count(L"textchanged"), 0); // opening sets the text silently
    // The click selected the whole text: typing replaces it, one change per key.
    for (const std::wstring typed : {L"a", L"ab", L"abc"}) {
        Type(typed.substr(typed.size() - 1));
        EXPECT_EQ(TextOf(a), typed);
        EXPECT_EQ(NativeText(native), typed);
    }
    EXPECT_EQ(Log.Count(L"textchanged", a), 3);
    Type({VK_RETURN});
    EXPECT_EQ(Log.Count(L"return", a), 1);
    EXPECT_EQ(TextOf(a), L"abc");
    Type({VK_TAB});
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(native) && Find(L"b")->IsFocused(); }));
    const HWND next = Native(L"EditWnd");
    ASSERT_NE(next, nullptr);
    a->SetText(L"idle");
    Find(L"b")->SetText(L"while editing");
    EXPECT_EQ(NativeText(next), L"while editing");
    EXPECT_EQ(Log.Count(L"textchanged", Find(L"b")), 1);
}

struct InputCase {
    const wchar_t* attributes;
    const wchar_t* typed;
    const wchar_t* expected;
    uint32_t background; // of the edit window (the platform's unless set)
};

TEST(Edit, InputFollowsTheSkinsAttributes) {
    const InputCase cases[] = {
        {L"numberonly=\"true\"", L"a1b2", L"12", SysRgb(COLOR_WINDOW)},
        {L"numberonly=\"false\"", L"a1", L"a1", SysRgb(COLOR_WINDOW)},
        {L"maxchar=\"3\"", L"abcdef", L"abc", SysRgb(COLOR_WINDOW)},
        {L"readonly=\"true\" text=\"ro\"", L"xyz", L"ro", SysRgb(COLOR_BTNFACE)},
        {L"password=\"true\"", L"pw", L"pw", SysRgb(COLOR_WINDOW)},
        {L"nativebkcolor=\"#FFFF0000\"", L"r", L"r", 0xFF0000},
    };
    for (const InputCase& c : cases) {
        Show(std::wstring(L"<Edit name=\"e\" float=\"true\" pos=\"20,20,220,50\" ") + c.attributes +
             L"/>");
        ClickOn(L"e");
        Type(c.typed);
        const auto* edit = Find<CEditUI>(L"e");
        EXPECT_EQ(TextOf(edit), c.expected) << c.attributes;
        const HWND native = Native(L"EditWnd");
        const LONG style = ::GetWindowLongW(native, GWL_STYLE);
        EXPECT_EQ((style & ES_PASSWORD) != 0, edit->IsPasswordMode()) << c.attributes;
        RECT rc = {};
        ::GetClientRect(native, &rc);
        const auto shot = UiTest::CaptureClient(native, rc.right, rc.bottom);
        EXPECT_TRUE(Near(shot->Rgb(rc.right - 2, 1), c.background)) << c.attributes;
    }
}

CContainerUI* g_box = nullptr;

struct CloseCase {
    const wchar_t* what;
    const wchar_t* tag;
    void (*act)(CControlUI* control);
    bool deleted;
};

TEST(TextEntry, PlatformWindowClosesWhenTheControlGoes) {
    const auto hide = [](CControlUI*) { g_box->SetVisible(false); };
    const auto remove = [](CControlUI* control) { g_box->Remove(control); };
    const auto removeWhileTyping = [](CControlUI*) {
        Log.onNotice = [](SkinUI::TNoticeUI& msg) {
            if (msg.sType == L"textchanged") {
                g_box->Remove(msg.pSender);
            }
        };
        Type(L"q");
    };
    const CloseCase cases[] = {
        {L"parent hidden", L"Edit", hide, false},
        {L"deleted", L"Edit", remove, true},
        {L"deleted by its textchanged listener", L"Edit", removeWhileTyping, true},
        {L"deleted", L"DateTime", remove, true},
    };
    for (const CloseCase& c : cases) {
        Show(std::wstring(L"<Container name=\"box\" float=\"true\" pos=\"0,0,300,100\"><") + c.tag +
             L" name=\"e\" float=\"true\" pos=\"20,20,220,50\"/></Container>");
        g_box = Find<CContainerUI>(L"box");
        g_box->SetDelayedDestroy(false);
        ClickOn(L"e");
        const HWND native = Native((std::wstring(c.tag) + L"Wnd").c_str());
        ASSERT_NE(native, nullptr) << c.what << " " << c.tag;
        c.act(Find(L"e"));
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(native); })) << c.what << " " << c.tag;
        EXPECT_EQ(g_box->GetCount(), c.deleted ? 0 : 1) << c.what << " " << c.tag;
        Type(L"z"); // keys with nothing left to edit
    }
}

// The state images of the controls' archive are solid colours. The sample
// shows the states at once and is saved for a person to look at.
TEST(Edit, EachStateDrawsItsImage) {
    const std::wstring look = L" float=\"true\" text=\"text\" normalimage=\"normal.png\" "
                              L"hotimage=\"hot.png\" focusedimage=\"focused.png\" "
                              L"disabledimage=\"disabled.png\"";
    Show(L"<Edit name=\"normal\" pos=\"20,20,220,50\"" + look +
         L"/><Edit name=\"hot\" pos=\"20,60,220,90\"" + look +
         L"/><Edit name=\"focused\" pos=\"20,100,220,130\"" + look +
         L"/><Edit name=\"disabled\" enabled=\"false\" pos=\"20,140,220,170\"" + look +
         L"/><Edit name=\"password\" password=\"true\" pos=\"20,180,220,210\"" + look +
         L"/><Edit name=\"masks\" pos=\"240,180,440,210\"" + look + L" text=\"****\"/>" +
         L"<DateTime float=\"true\" pos=\"240,100,440,130\" bkcolor=\"#FFFFFFFF\"/>");
    MoveTo(CenterPoint(Find(L"hot")->GetPos()));
    Find(L"focused")->SetFocus();
    PumpFor(100);
    const auto shot = Capture(Host());
    EXPECT_TRUE(TestSupport::WriteFileBytes(L"textentry_sample.png",
                                            TestSupport::EncodePng(shot->Snapshot())));
    const std::pair<LPCWSTR, uint32_t> states[] = {
        {L"normal", kNormal}, {L"hot", kHot}, {L"focused", kFocused}, {L"disabled", kDisabled}};
    for (const auto& [name, colour] : states) {
        const RECT rc = Find(name)->GetPos();
        EXPECT_TRUE(Near(shot->Pixel(rc.left + 1, rc.top + 1), colour)) << name;
    }
    // Password mode paints one mask per character, like the text "****".
    const RECT pw = Find(L"password")->GetPos();
    for (int x = pw.left; x < pw.right; ++x) {
        ASSERT_EQ(shot->Rgb(x, pw.top + 15), shot->Rgb(x + 220, pw.top + 15)) << x;
    }
}

} // namespace
