#include <windows.h>

#include "ui/controls/EditUI.h"

#include "tests/support/FileUtil.h"
#include "tests/ui/TextEntryDesktop.h"

#include <gtest/gtest.h>

#include <vector>

using namespace TextEntryTest;
using SkinUI::CEditUI;

namespace {

std::wstring NativeText(HWND hwnd) {
    wchar_t text[256] = {};
    ::GetWindowTextW(hwnd, text, 256);
    return text;
}

RECT ClientRectOf(HWND child) {
    RECT rc = {};
    ::GetWindowRect(child, &rc);
    ::MapWindowPoints(nullptr, Host(), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

const wchar_t kTwoEdits[] = L"<Edit name=\"a\" float=\"true\" pos=\"20,20,220,60\" text=\"xy\"/>"
                            L"<Edit name=\"b\" float=\"true\" pos=\"20,80,220,110\"/>";

TEST(Edit, ClickTypeEnterAndTabAway) {
    Show(kTwoEdits);
    auto* a = Find<CEditUI>(L"a");
    auto* b = Find<CEditUI>(L"b");
    ASSERT_NE(a, nullptr);
    Click(CenterPoint(a->GetPos()));
    const HWND native = Native(L"EditWnd");
    ASSERT_NE(native, nullptr);
    // One font height high, centred in the text area (padding 3 above and below).
    const RECT rn = ClientRectOf(native);
    EXPECT_EQ(rn.bottom - rn.top, Host().pm.GetFontInfo(-1)->tm.tmHeight);
    EXPECT_LE(std::abs((rn.top - 23) - (57 - rn.bottom)), 1);
    EXPECT_EQ(Log().Count(L"textchanged"), 0); // opening sets the text silently
    // The click selected the whole text: typing replaces it, one change per key.
    for (const wchar_t* typed : {L"a", L"ab", L"abc"}) {
        Tap(static_cast<WORD>(::towupper(typed[std::wcslen(typed) - 1])));
        EXPECT_EQ(TextOf(a), typed);
        EXPECT_EQ(NativeText(native), typed);
    }
    EXPECT_EQ(Log().Count(L"textchanged", a), 3);
    Tap(VK_RETURN);
    EXPECT_EQ(Log().Count(L"return", a), 1);
    EXPECT_EQ(TextOf(a), L"abc");
    Tap(VK_TAB);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(native) && b->IsFocused(); }));
    const HWND next = Native(L"EditWnd");
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(ClientRectOf(next).left, 24);
    a->SetText(L"set");
    b->SetText(L"while editing");
    EXPECT_EQ(NativeText(next), L"while editing");
    EXPECT_EQ(Log().Count(L"textchanged", b), 1);
}

struct InputCase {
    const wchar_t* attributes;
    const wchar_t* typed;
    const wchar_t* expected;
};

TEST(Edit, InputFollowsTheSkinsLimits) {
    const InputCase cases[] = {
        {L"numberonly=\"true\"", L"a1b2", L"12"}, {L"numberonly=\"false\"", L"a1", L"a1"},
        {L"maxchar=\"3\"", L"abcdef", L"abc"},    {L"readonly=\"true\" text=\"ro\"", L"xyz", L"ro"},
        {L"password=\"true\"", L"pw", L"pw"},
    };
    for (const InputCase& c : cases) {
        Show(std::wstring(L"<Edit name=\"e\" float=\"true\" pos=\"20,20,220,50\" ") + c.attributes +
             L"/>");
        auto* edit = Find<CEditUI>(L"e");
        Click(CenterPoint(edit->GetPos()));
        Type(c.typed);
        EXPECT_EQ(TextOf(edit), c.expected) << c.attributes;
        const LONG style = ::GetWindowLongW(Native(L"EditWnd"), GWL_STYLE);
        EXPECT_EQ((style & ES_PASSWORD) != 0, edit->IsPasswordMode()) << c.attributes;
    }
}

struct CloseCase {
    const wchar_t* what;
    const wchar_t* tag;
    LPCWSTR windowClass;
    void (*act)(SkinUI::CContainerUI* box, CControlUI* control);
    bool deleted;
};

SkinUI::CContainerUI* g_box = nullptr;

void HideBox(SkinUI::CContainerUI* box, CControlUI*) {
    box->SetVisible(false);
}

void ClearFocus(SkinUI::CContainerUI*, CControlUI*) {
    Host().pm.SetFocus(nullptr);
}

void Delete(SkinUI::CContainerUI* box, CControlUI* control) {
    box->Remove(control);
}

void DeleteFromListener(SkinUI::CContainerUI* box, CControlUI*) {
    g_box = box;
    Log().onNotice = [](SkinUI::TNoticeUI& msg) {
        if (msg.sType == L"textchanged") {
            g_box->Remove(msg.pSender);
        }
    };
    Type(L"q");
}

TEST(TextEntry, PlatformWindowClosesWhenTheControlGoes) {
    const CloseCase cases[] = {
        {L"parent hidden", L"Edit", L"EditWnd", HideBox, false},
        {L"focus cleared", L"Edit", L"EditWnd", ClearFocus, false},
        {L"deleted", L"Edit", L"EditWnd", Delete, true},
        {L"deleted by its textchanged listener", L"Edit", L"EditWnd", DeleteFromListener, true},
        {L"deleted", L"DateTime", L"DateTimeWnd", Delete, true},
        {L"focus cleared", L"DateTime", L"DateTimeWnd", ClearFocus, false},
    };
    for (const CloseCase& c : cases) {
        SkinUI::CContainerUI* root =
            Show(std::wstring(L"<Container name=\"inner\" float=\"true\" pos=\"0,0,300,100\"><") +
                 c.tag + L" name=\"e\" float=\"true\" pos=\"20,20,220,50\"/></Container>");
        auto* box = Find<SkinUI::CContainerUI>(L"inner");
        box->SetDelayedDestroy(false);
        CControlUI* control = Find<CControlUI>(L"e");
        Click(CenterPoint(control->GetPos()));
        const HWND native = Native(c.windowClass);
        ASSERT_NE(native, nullptr) << c.what << " " << c.tag;
        c.act(box, control);
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(native); })) << c.what << " " << c.tag;
        EXPECT_EQ(box->GetCount(), c.deleted ? 0 : 1) << c.what << " " << c.tag;
        Type(L"z"); // keys with nothing left to edit
        root->SetVisible(true);
    }
}

// The state images of the controls' archive are solid colours; the sample
// shows every state at once and is saved for a person to look at.
TEST(Edit, EachStateDrawsItsImage) {
    const std::wstring look = L"float=\"true\" text=\"text\" normalimage=\"normal.png\" "
                              L"hotimage=\"hot.png\" focusedimage=\"focused.png\" "
                              L"disabledimage=\"disabled.png\" ";
    Show(L"<Edit name=\"normal\" pos=\"20,20,220,50\" " + look + L"/><Edit name=\"hot\" " +
         L"pos=\"20,60,220,90\" " + look + L"/><Edit name=\"focused\" pos=\"20,100,220,130\" " +
         look + L"/><Edit name=\"disabled\" enabled=\"false\" pos=\"20,140,220,170\" " + look +
         L"/><Edit name=\"password\" password=\"true\" pos=\"20,180,220,210\" " + look +
         L"/><Edit name=\"masks\" pos=\"240,180,440,210\" " + look + L"text=\"****\"/><DateTime name=\"date\" float=\"true\" "
         L"pos=\"240,100,440,130\" bkcolor=\"#FFFFFFFF\"/>");
    MoveTo(CenterPoint(Find<CEditUI>(L"hot")->GetPos()));
    Find<CEditUI>(L"focused")->SetFocus();
    PumpFor(100);
    const auto shot = Capture(Host());
    const std::string png = TestSupport::EncodePng(shot->Snapshot());
    EXPECT_TRUE(TestSupport::WriteFileBytes(L"textentry_sample.png", png));
    for (const auto& [name, colour] :
         std::vector<std::pair<LPCWSTR, uint32_t>>{{L"normal", kNormal},
                                                   {L"hot", kHot},
                                                   {L"focused", kFocused},
                                                   {L"disabled", kDisabled}}) {
        const RECT rc = Find<CEditUI>(name)->GetPos();
        EXPECT_TRUE(Near(shot->Pixel(rc.left + 1, rc.top + 1), colour)) << name;
    }
    // Password mode paints one mask per character, like the text "****".
    const RECT pw = Find<CEditUI>(L"password")->GetPos();
    for (int y = pw.top; y < pw.bottom; ++y) {
        for (int x = pw.left; x < pw.right; ++x) {
            ASSERT_EQ(shot->Rgb(x, y), shot->Rgb(x + 220, y)) << x << "," << y;
        }
    }
}

TEST(Edit, NativeBackgroundColourPaintsTheEditWindow) {
    Show(L"<Edit name=\"e\" float=\"true\" pos=\"20,20,220,50\" nativebkcolor=\"#FFFF0000\"/>"
         L"<Edit name=\"p\" float=\"true\" pos=\"20,60,220,90\"/>");
    for (LPCWSTR name : {L"e", L"p"}) {
        Find<CEditUI>(name)->SetFocus();
        PumpFor(100);
        const HWND native = Native(L"EditWnd");
        ASSERT_NE(native, nullptr);
        RECT rc = {};
        ::GetClientRect(native, &rc);
        const auto shot = UiTest::CaptureClient(native, rc.right, rc.bottom);
        const uint32_t expected = name[0] == L'e' ? 0xFF0000u : 0xFFFFFFu;
        EXPECT_TRUE(Near(shot->Rgb(rc.right - 2, rc.bottom / 2), expected))
            << name << std::hex << " " << shot->Rgb(rc.right - 2, rc.bottom / 2);
    }
}

} // namespace
