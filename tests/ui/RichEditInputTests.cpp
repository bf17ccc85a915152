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

// ---- Mouse --------------------------------------------------------------------------------

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
