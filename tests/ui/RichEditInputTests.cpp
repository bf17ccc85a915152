#include <windows.h>

#include "tests/ui/RichEditDesktop.h"
#include "ui/controls/TextHost.h"

#include <utility>

using namespace RichEditTest;

namespace {

const RECT kFirstRect = {20, 20, 300, 120};
const RECT kSecondRect = {20, 160, 300, 260};

CHARRANGE Selection(const CRichEditUI* edit) {
    CHARRANGE range = {-2, -2};
    edit->TxSendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range), nullptr);
    return range;
}

int ReturnNotices(const CControlUI* sender) {
    return Notices().Count(L"return", sender);
}

// A click into the edit's text area, which gives it the focus.
void ClickInto(const RECT& rc) {
    Click(rc.left + 10, rc.top + 10);
}

} // namespace

// ---- Typing ---------------------------------------------------------------------------------

TEST(RichEditTyping, RealKeysReachTheText) {
    CRichEditUI* edit = NewRichEdit(kFirstRect);
    NewRoot({edit});
    ClickInto(kFirstRect);
    EXPECT_EQ(edit, Manager().GetFocus());
    EXPECT_TRUE(edit->IsFocused());
    Type(L"Hello World 42");
    EXPECT_EQ(L"Hello World 42", TextOf(edit));
    Press(VK_BACK);
    Press(VK_BACK);
    Type(L"7");
    EXPECT_EQ(L"Hello World 7", TextOf(edit));
}

TEST(RichEditTyping, ChineseCharactersTypedAsUnicodeKeystrokes) {
    CRichEditUI* edit = NewRichEdit(kFirstRect);
    NewRoot({edit});
    ClickInto(kFirstRect);
    const std::wstring text = L"\x4E0D\x60F3\x73A9\x4E86 ok\xFF01";
    Type(text);
    EXPECT_EQ(text, TextOf(edit));
    EXPECT_EQ(static_cast<LONG>(text.size()), edit->GetTextLength());
}

TEST(RichEditTyping, CaretFollowsTheText) {
    CRichEditUI* edit = NewRichEdit(kFirstRect);
    NewRoot({edit});
    ClickInto(kFirstRect);
    POINT before = {};
    ASSERT_TRUE(::GetCaretPos(&before));
    Type(L"wwww");
    POINT after = {};
    ASSERT_TRUE(::GetCaretPos(&after));
    EXPECT_GT(after.x, before.x);
    EXPECT_GE(after.x, kFirstRect.left);
    EXPECT_LT(after.x, kFirstRect.right);
    EXPECT_GE(after.y, kFirstRect.top);
    EXPECT_LT(after.y, kFirstRect.bottom);
    EXPECT_EQ(4, Selection(edit).cpMin);
}

TEST(RichEditTyping, HundredFortyOneTypedCharacters) {
    CRichEditUI* edit = NewRichEdit(kFirstRect);
    NewRoot({edit});
    ClickInto(kFirstRect);
    std::wstring typed;
    for (int i = 0; i < 141; ++i) {
        typed += static_cast<wchar_t>(L'a' + i % 26);
    }
    Type(typed);
    const std::wstring back = TextOf(edit);
    EXPECT_EQ(141u, back.size());
    EXPECT_EQ(typed, back);
}

TEST(RichEditTyping, ReadOnlyKeepsItsText) {
    CRichEditUI* edit = NewRichEdit(kFirstRect, L"readonly=\"true\"");
    NewRoot({edit});
    edit->SetText(L"fixed");
    ClickInto(kFirstRect);
    EXPECT_EQ(edit, Manager().GetFocus());
    Type(L"xyz");
    Press(VK_BACK);
    Press(VK_RETURN);
    EXPECT_EQ(L"fixed", TextOf(edit));
    // The program may still replace it.
    edit->SetText(L"replaced");
    EXPECT_EQ(L"replaced", TextOf(edit));
}

TEST(RichEditTyping, DisabledTakesNoInput) {
    CRichEditUI* edit = NewRichEdit(kFirstRect);
    NewRoot({edit});
    edit->SetText(L"off");
    edit->SetFocus();
    edit->SetSel(-1, -1);
    edit->SetEnabled(false);
    Settle();
    Click(kFirstRect.left + 1, kFirstRect.top + 8);
    EXPECT_EQ(3, Selection(edit).cpMin);
    Type(L"ab");
    Press(VK_RETURN);
    EXPECT_EQ(L"off", TextOf(edit));
    EXPECT_EQ(0u, edit->GetControlFlags());
}

TEST(RichEditTyping, KeysGoNowhereOnceTheFocusIsElsewhere) {
    CRichEditUI* edit = NewRichEdit(kFirstRect);
    NewRoot({edit});
    ClickInto(kFirstRect);
    Type(L"in");
    // A click on the root's background moves the focus away.
    Click(400, 300);
    EXPECT_FALSE(edit->IsFocused());
    Type(L"out");
    EXPECT_EQ(L"in", TextOf(edit));
}

// ---- Enter and "return" -------------------------------------------------------------------

TEST(RichEditReturn, EnterInsertsALoneCarriageReturn) {
    CRichEditUI* edit = NewRichEdit(kFirstRect);
    NewRoot({edit});
    ClickInto(kFirstRect);
    const int before = ReturnNotices(edit);
    Type(L"first");
    Press(VK_RETURN);
    Type(L"second");
    Press(VK_RETURN);
    Press(VK_RETURN);
    Type(L"x");
    EXPECT_EQ(L"first\rsecond\r\rx", TextOf(edit));
    EXPECT_EQ(before, ReturnNotices(edit));
}

TEST(RichEditReturn, EnterNotWantedSendsReturnAndInsertsNothing) {
    CRichEditUI* edit = NewRichEdit(kFirstRect, L"wantreturn=\"false\"");
    NewRoot({edit});
    ClickInto(kFirstRect);
    const int before = ReturnNotices(edit);
    Type(L"ab");
    Press(VK_RETURN);
    Type(L"c");
    EXPECT_EQ(L"abc", TextOf(edit));
    EXPECT_EQ(before + 1, ReturnNotices(edit));
    // Ctrl+Enter too, since want return is off.
    PressWith(VK_CONTROL, VK_RETURN);
    EXPECT_EQ(L"abc", TextOf(edit));
    EXPECT_EQ(before + 2, ReturnNotices(edit));
}

TEST(RichEditReturn, CtrlEnterNotWantedSendsReturn) {
    CRichEditUI* edit = NewRichEdit(kFirstRect, L"wantctrlreturn=\"false\"");
    NewRoot({edit});
    ClickInto(kFirstRect);
    const int before = ReturnNotices(edit);
    Type(L"a");
    PressWith(VK_CONTROL, VK_RETURN);
    Type(L"b");
    EXPECT_EQ(L"ab", TextOf(edit));
    EXPECT_EQ(before + 1, ReturnNotices(edit));
    Press(VK_RETURN);
    Type(L"c");
    EXPECT_EQ(L"ab\rc", TextOf(edit));
    EXPECT_EQ(before + 1, ReturnNotices(edit));
}

// ---- Focus and Tab ------------------------------------------------------------------------

TEST(RichEditFocus, TabMovesOnFromAnEditThatDoesNotWantIt) {
    CRichEditUI* first = NewRichEdit(kFirstRect, L"wanttab=\"false\"");
    CRichEditUI* second = NewRichEdit(kSecondRect);
    NewRoot({first, second});
    ClickInto(kFirstRect);
    ASSERT_EQ(first, Manager().GetFocus());
    Type(L"a");
    Press(VK_TAB);
    EXPECT_EQ(second, Manager().GetFocus());
    EXPECT_FALSE(first->IsFocused());
    EXPECT_TRUE(second->IsFocused());
    EXPECT_EQ(L"a", TextOf(first));
    // Typing now goes to the second edit.
    Type(L"b");
    EXPECT_EQ(L"b", TextOf(second));
    EXPECT_EQ(L"a", TextOf(first));
}

TEST(RichEditFocus, AnEditThatWantsTabKeepsTheKey) {
    CRichEditUI* first = NewRichEdit(kFirstRect, L"wanttab=\"false\"");
    CRichEditUI* second = NewRichEdit(kSecondRect);
    NewRoot({first, second});
    ClickInto(kSecondRect);
    ASSERT_EQ(second, Manager().GetFocus());
    Type(L"x");
    Press(VK_TAB);
    Type(L"y");
    EXPECT_EQ(second, Manager().GetFocus());
    EXPECT_EQ(L"x\ty", TextOf(second));
    EXPECT_EQ(L"", TextOf(first));
}

TEST(RichEditFocus, TabWrapsBetweenEditsThatDoNotWantIt) {
    CRichEditUI* first = NewRichEdit(kFirstRect, L"wanttab=\"false\"");
    CRichEditUI* second = NewRichEdit(kSecondRect, L"wanttab=\"false\"");
    NewRoot({first, second});
    ClickInto(kSecondRect);
    ASSERT_EQ(second, Manager().GetFocus());
    Press(VK_TAB);
    EXPECT_EQ(first, Manager().GetFocus());
    PressWith(VK_SHIFT, VK_TAB);
    EXPECT_EQ(second, Manager().GetFocus());
    EXPECT_EQ(L"", TextOf(first));
    EXPECT_EQ(L"", TextOf(second));
}

TEST(RichEditFocus, FocusFromTheProgramTakesTyping) {
    CRichEditUI* first = NewRichEdit(kFirstRect);
    CRichEditUI* second = NewRichEdit(kSecondRect);
    NewRoot({first, second});
    second->SetFocus();
    Type(L"two");
    first->SetFocus();
    Type(L"one");
    EXPECT_EQ(L"one", TextOf(first));
    EXPECT_EQ(L"two", TextOf(second));
}

// ---- Mouse --------------------------------------------------------------------------------

TEST(RichEditMouse, ClickPlacesTheCaret) {
    CRichEditUI* edit = NewRichEdit(kFirstRect);
    NewRoot({edit});
    edit->SetText(L"abcdefghij");
    edit->SetFocus();
    edit->SetSel(-1, -1);
    EXPECT_EQ(10, Selection(edit).cpMin);
    Click(kFirstRect.left + 1, kFirstRect.top + 8);
    EXPECT_EQ(0, Selection(edit).cpMin);
    EXPECT_EQ(0, Selection(edit).cpMax);
}

TEST(RichEditMouse, ClickOnAControlLyingOverTheEditDoesNotReachIt) {
    CRichEditUI* edit = NewRichEdit(kFirstRect);
    auto* cover = new CControlUI();
    cover->SetFloating(true);
    cover->SetFixedXY(SIZE{kFirstRect.left, kFirstRect.top});
    cover->SetFixedWidth(60);
    cover->SetFixedHeight(40);
    cover->SetBkColor(0xFF8080FF);
    NewRoot({edit, cover});
    edit->SetText(L"abcdefghij");
    edit->SetFocus();
    edit->SetSel(-1, -1);
    Click(kFirstRect.left + 1, kFirstRect.top + 8);
    EXPECT_EQ(10, Selection(edit).cpMin);
    EXPECT_EQ(cover, Manager().GetFocus());
    EXPECT_FALSE(edit->IsFocused());
    Type(L"zz");
    EXPECT_EQ(L"abcdefghij", TextOf(edit));
}

TEST(RichEditMouse, DragSelectsText) {
    CRichEditUI* edit = NewRichEdit(kFirstRect);
    NewRoot({edit});
    edit->SetText(L"select me please");
    MoveTo(kFirstRect.left + 1, kFirstRect.top + 8);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    PumpFor(30);
    MoveTo(kFirstRect.right - 5, kFirstRect.top + 8);
    SendMouse(MOUSEEVENTF_LEFTUP);
    PumpFor(30);
    const CHARRANGE range = Selection(edit);
    EXPECT_EQ(0, range.cpMin);
    EXPECT_EQ(16, range.cpMax);
    EXPECT_FALSE(Manager().IsCaptured());
    // Typing replaces the selection.
    Type(L"new");
    EXPECT_EQ(L"new", TextOf(edit));
}

TEST(RichEditMouse, TextCursorOverTheText) {
    CRichEditUI* edit = NewRichEdit(kFirstRect);
    NewRoot({edit});
    edit->SetText(L"cursor");
    MoveTo(400, 300);
    PumpFor(30);
    const HCURSOR outside = ::GetCursor();
    MoveTo(kFirstRect.left + 20, kFirstRect.top + 20);
    EXPECT_TRUE(PumpUntil([&] { return ::GetCursor() != outside; }, 1000));
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_ARROW), outside);
    MoveTo(400, 300);
    EXPECT_TRUE(PumpUntil([&] { return ::GetCursor() == outside; }, 1000));
}

TEST(RichEditMouse, WheelWithCtrlReachesTheEngine) {
    CRichEditUI* edit = NewRichEdit(kFirstRect);
    NewRoot({edit});
    edit->SetText(L"zoom me");
    MoveTo(kFirstRect.left + 20, kFirstRect.top + 20);
    const auto zoom = [&] {
        WPARAM numerator = 0;
        LPARAM denominator = 0;
        edit->TxSendMessage(EM_GETZOOM, reinterpret_cast<WPARAM>(&numerator),
                            reinterpret_cast<LPARAM>(&denominator), nullptr);
        return std::make_pair(numerator, denominator);
    };
    const auto before = zoom();
    Wheel(WHEEL_DELTA);
    EXPECT_EQ(before, zoom());
    Key(VK_CONTROL);
    Wheel(WHEEL_DELTA);
    Key(VK_CONTROL, true);
    PumpFor(20);
    EXPECT_NE(before, zoom());
}

// ---- Engine requests through the host --------------------------------------------------------

TEST(RichEditHost, EngineTimersRunThroughTheManager) {
    CRichEditUI* edit = NewRichEdit(kFirstRect);
    NewRoot({edit});
    SkinUI::CTxtWinHost* host = edit->GetTextHost();
    ASSERT_NE(nullptr, host);
    const int before = Notices().Count(L"timer", edit);
    ASSERT_TRUE(host->TxSetTimer(77, 10));
    EXPECT_TRUE(PumpUntil([&] { return Notices().Count(L"timer", edit) > before; }, 1000));
    host->TxKillTimer(77);
    PumpFor(30);
    const int stopped = Notices().Count(L"timer", edit);
    PumpFor(60);
    EXPECT_EQ(stopped, Notices().Count(L"timer", edit));
}

TEST(RichEditHost, SelectionNoticesReachTheWindow) {
    CRichEditUI* edit = NewRichEdit(kFirstRect);
    NewRoot({edit});
    edit->SetText(L"abcdef");
    edit->TxSendMessage(EM_SETEVENTMASK, 0, ENM_SELCHANGE | ENM_CHANGE, nullptr);
    Host().notifyCodes.clear();
    edit->SetSel(1, 3);
    ASSERT_FALSE(Host().notifyCodes.empty());
    for (UINT code : Host().notifyCodes) {
        EXPECT_EQ(static_cast<UINT>(EN_SELCHANGE), code);
    }
    // Notices outside the forwarded set stay with the control.
    Host().notifyCodes.clear();
    NMHDR header = {};
    edit->GetTextHost()->TxNotify(EN_CHANGE, &header);
    edit->GetTextHost()->TxNotify(EN_SELCHANGE, nullptr);
    EXPECT_TRUE(Host().notifyCodes.empty());
}

TEST(RichEditHost, RequestedSizeBecomesTheClientRectangle) {
    CRichEditUI* edit = NewRichEdit(kFirstRect);
    NewRoot({edit});
    SkinUI::CTxtWinHost* host = edit->GetTextHost();
    REQRESIZE request = {};
    request.rc = RECT{0, 0, 100, 30};
    host->TxNotify(EN_REQUESTRESIZE, &request);
    const RECT rc = host->GetControlRect();
    EXPECT_EQ(kFirstRect.left, rc.left);
    EXPECT_EQ(kFirstRect.top, rc.top);
    EXPECT_EQ(kFirstRect.left + 100, rc.right);
    EXPECT_EQ(kFirstRect.top + 30, rc.bottom);
}

TEST(RichEditHost, ReferenceCountAndInterfaces) {
    CRichEditUI* edit = NewRichEdit(kFirstRect);
    NewRoot({edit});
    SkinUI::CTxtWinHost* host = edit->GetTextHost();
    void* object = nullptr;
    ASSERT_EQ(S_OK, host->QueryInterface(SkinUI::kIIDTextHost, &object));
    EXPECT_EQ(static_cast<SkinUI::ITextHost*>(host), object);
    ASSERT_EQ(S_OK, host->QueryInterface(IID_IUnknown, &object));
    EXPECT_EQ(2u, host->Release());
    EXPECT_EQ(1u, host->Release());
    EXPECT_EQ(E_NOINTERFACE, host->QueryInterface(IID_IDispatch, &object));
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(E_POINTER, host->QueryInterface(IID_IUnknown, nullptr));
    LONG value = 0;
    EXPECT_EQ(S_OK, host->TxGetAcceleratorPos(&value));
    EXPECT_EQ(-1, value);
    DWORD length = 0;
    EXPECT_EQ(S_OK, host->TxGetMaxLength(&length));
    EXPECT_EQ(32767u, length);
    DWORD bars = 1;
    EXPECT_EQ(S_OK, host->TxGetScrollBars(&bars));
    EXPECT_EQ(0u, bars);
    wchar_t password = L'x';
    EXPECT_EQ(S_OK, host->TxGetPasswordChar(&password));
    EXPECT_EQ(L'\0', password);
    EXPECT_EQ(E_INVALIDARG, host->TxGetClientRect(nullptr));
    EXPECT_EQ(nullptr, host->TxImmGetContext());
}
