#include <windows.h>

#include "tests/ui/RichEditDesktop.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/controls/TextHost.h"

#include <cwchar>

using namespace RichEditTest;

namespace {

const RECT kEditRect = {20, 20, 320, 140};

// 141 characters, Chinese and Latin, as a questionnaire answer might be.
std::wstring Text141() {
    std::wstring text;
    while (text.size() < 141) {
        text += text.size() % 2 == 0 ? L"\x5378" : L"a";
    }
    return text;
}

DWORD Bits(const CRichEditUI* edit) {
    return edit->GetTextHost() != nullptr ? edit->GetTextHost()->GetPropertyBits() : 0;
}

} // namespace

// ---- Identity and lifecycle -----------------------------------------------------------------

TEST(RichEditIdentity, ClassInterfacesAndFlags) {
    CRichEditUI edit;
    EXPECT_STREQ(L"RichEditUI", edit.GetClass());
    EXPECT_EQ(&edit, edit.QueryInterfaceByName(L"RichEdit"));
    EXPECT_EQ(static_cast<SkinUI::IContainerUI*>(&edit), edit.QueryInterfaceByName(L"IContainer"));
    EXPECT_EQ(static_cast<CContainerUI*>(&edit), edit.QueryInterfaceByName(L"Container"));
    EXPECT_EQ(nullptr, edit.QueryInterfaceByName(L"Edit"));
    // The manager's Tab handling asks for this interface by name.
    auto* wantTab = static_cast<SkinUI::IWantTabUI*>(edit.QueryInterfaceByName(L"WantTab"));
    ASSERT_NE(nullptr, wantTab);
    EXPECT_TRUE(wantTab->IsWantTab());
    edit.SetWantTab(false);
    EXPECT_FALSE(wantTab->IsWantTab());
    EXPECT_EQ(3u, edit.GetControlFlags());
    edit.SetEnabled(false);
    EXPECT_EQ(0u, edit.GetControlFlags());
}

TEST(RichEditIdentity, Defaults) {
    CRichEditUI edit;
    EXPECT_TRUE(edit.IsWantReturn());
    EXPECT_TRUE(edit.IsWantCtrlReturn());
    EXPECT_TRUE(edit.IsRich());
    EXPECT_FALSE(edit.IsReadOnly());
    EXPECT_EQ(-1, edit.GetFont());
    EXPECT_EQ(0u, edit.GetTextColor());
    EXPECT_EQ(32767, edit.GetLimitText());
    EXPECT_EQ(static_cast<UINT>(ES_MULTILINE), edit.GetTextStyle());
    EXPECT_EQ(nullptr, edit.GetTextHost());
}

TEST(RichEditLifecycle, WithoutManagerOnlyStoresText) {
    CRichEditUI edit;
    edit.Init();
    EXPECT_EQ(nullptr, edit.GetTextHost());
    edit.SetText(L"kept for later");
    EXPECT_EQ(L"", TextOf(&edit));
    EXPECT_EQ(0, edit.GetTextLength());
    LRESULT result = 7;
    EXPECT_EQ(S_FALSE, edit.TxSendMessage(WM_CHAR, L'x', 0, &result));
    edit.SetSel(0, -1);
    edit.ReplaceSel(L"nothing", false);
    edit.LineDown();
    edit.SetScrollPos(SIZE{0, 10});
}

TEST(RichEditLifecycle, TextSetBeforeAttachIsTheFirstText) {
    CRichEditUI* edit = NewRichEdit(kEditRect);
    edit->SetText(L"before \x4E2D");
    NewRoot({edit});
    ASSERT_NE(nullptr, edit->GetTextHost());
    ASSERT_NE(nullptr, edit->GetTextHost()->GetTextServices());
    EXPECT_EQ(L"before \x4E2D", TextOf(edit));
}

TEST(RichEditLifecycle, EngineStartsWhenFirstShownOrFocused) {
    CRichEditUI* shown = NewRichEdit(kEditRect);
    CRichEditUI* hidden = NewRichEdit(RECT{20, 160, 320, 220});
    hidden->SetVisible(false);
    hidden->SetText(L"waiting");
    NewRoot({shown, hidden});
    EXPECT_NE(nullptr, shown->GetTextHost());
    EXPECT_EQ(nullptr, hidden->GetTextHost());
    hidden->SetVisible(true);
    Settle();
    ASSERT_NE(nullptr, hidden->GetTextHost());
    EXPECT_EQ(L"waiting", TextOf(hidden));

    // Focused before any layout has placed it.
    CRichEditUI* focused = NewRichEdit(kEditRect);
    auto* root = new CContainerUI();
    root->Add(focused);
    Manager().AttachRootControl(root);
    EXPECT_EQ(nullptr, focused->GetTextHost());
    focused->SetFocus();
    EXPECT_NE(nullptr, focused->GetTextHost());
    Settle();
}

TEST(RichEditLifecycle, RemovedControlLeavesTheWindowWorking) {
    CRichEditUI* edit = NewRichEdit(kEditRect);
    CContainerUI* root = NewRoot({edit});
    edit->SetFocus();
    edit->SetText(L"going");
    Settle();
    // Deleted at once: its message filter must go with it.
    root->SetDelayedDestroy(false);
    ASSERT_TRUE(root->Remove(edit));
    Settle();
    Click(40, 40);
    Type(L"ab");
    Press(VK_RETURN);
    Wheel(-WHEEL_DELTA);
    Settle();
    // The click went to the root, which took the focus.
    EXPECT_EQ(root, Manager().GetFocus());
}

TEST(RichEditLifecycle, InitialisedOnceOnly) {
    CRichEditUI* edit = NewRichEdit(kEditRect);
    NewRoot({edit});
    SkinUI::CTxtWinHost* host = edit->GetTextHost();
    ASSERT_NE(nullptr, host);
    edit->Init();
    EXPECT_EQ(host, edit->GetTextHost());
}

// ---- Text get and set -----------------------------------------------------------------------

TEST(RichEditText, EmptyControlGivesEmptyText) {
    CRichEditUI* edit = NewRichEdit(kEditRect);
    NewRoot({edit});
    EXPECT_EQ(L"", TextOf(edit));
    EXPECT_EQ(0, edit->GetTextLength());
}

TEST(RichEditText, SetAndGetLatinAndChinese) {
    CRichEditUI* edit = NewRichEdit(kEditRect);
    NewRoot({edit});
    edit->SetText(L"plain");
    EXPECT_EQ(L"plain", TextOf(edit));
    const std::wstring chinese = L"\x6E38\x620F\x592A\x96BE\x4E86\xFF0C\x6CA1\x6709\x65F6\x95F4";
    edit->SetText(chinese.c_str());
    EXPECT_EQ(chinese, TextOf(edit));
    EXPECT_EQ(static_cast<LONG>(chinese.size()), edit->GetTextLength());
    // A character outside the basic plane counts two UTF-16 units.
    edit->SetText(L"a\xD83D\xDE00z");
    EXPECT_EQ(L"a\xD83D\xDE00z", TextOf(edit));
    EXPECT_EQ(4, edit->GetTextLength());
    edit->SetText(L"");
    EXPECT_EQ(L"", TextOf(edit));
    edit->SetText(nullptr);
    EXPECT_EQ(L"", TextOf(edit));
}

TEST(RichEditText, LineEndsComeBackAsLoneCarriageReturns) {
    CRichEditUI* edit = NewRichEdit(kEditRect);
    NewRoot({edit});
    edit->SetText(L"one\r\ntwo\rthree\nfour");
    EXPECT_EQ(L"one\rtwo\rthree\rfour", TextOf(edit));
    EXPECT_EQ(18, edit->GetTextLength());
    // Asked with CR/LF pairs, each line end counts two.
    EXPECT_EQ(21, edit->GetTextLength(GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS));
}

TEST(RichEditText, HundredFortyOneCharactersReadBackWithTheirLength) {
    CRichEditUI* edit = NewRichEdit(kEditRect);
    NewRoot({edit});
    const std::wstring text = Text141();
    edit->SetText(text.c_str());
    const std::wstring back = TextOf(edit);
    EXPECT_EQ(141u, back.size());
    EXPECT_EQ(text, back);
    EXPECT_EQ(141, edit->GetTextLength());
    edit->SetText(text.substr(0, 140).c_str());
    EXPECT_EQ(140u, TextOf(edit).size());
}

TEST(RichEditText, SelectionAndReplacement) {
    CRichEditUI* edit = NewRichEdit(kEditRect);
    NewRoot({edit});
    edit->SetText(L"abcdef");
    edit->SetSel(2, 4);
    edit->ReplaceSel(L"XY\x4E2D", true);
    EXPECT_EQ(L"abXY\x4E2D"
              L"ef",
              TextOf(edit));
    edit->SetSel(-1, -1);
    edit->ReplaceSel(L"!", false);
    EXPECT_EQ(L"abXY\x4E2D"
              L"ef!",
              TextOf(edit));
    edit->SetSel(0, 0);
    edit->ReplaceSel(nullptr, false);
    EXPECT_EQ(L"abXY\x4E2D"
              L"ef!",
              TextOf(edit));
}

TEST(RichEditText, LongTextsReadBackWhole) {
    CRichEditUI* edit = NewRichEdit(kEditRect);
    NewRoot({edit});
    std::wstring text;
    for (int i = 0; i < 3000; ++i) {
        text += L"line ";
        text += std::to_wstring(i);
        text += L"\r";
    }
    edit->SetText(text.c_str());
    const std::wstring back = TextOf(edit);
    EXPECT_EQ(text.size(), back.size());
    EXPECT_EQ(text, back);
}

// ---- Attributes from skin text --------------------------------------------------------------

TEST(RichEditAttributes, StyleAttributesBeforeInitialisation) {
    CRichEditUI* edit = NewRichEdit(
        kEditRect, L"vscrollbar=\"true\" autovscroll=\"true\" readonly=\"true\" "
                   L"password=\"true\" align=\"center\" wanttab=\"false\" wantreturn=\"false\" "
                   L"wantctrlreturn=\"false\" rich=\"false\" textcolor=\"#FFFF0000\" "
                   L"name=\"OtherReason\" text=\"\x5176\x5B83\"");
    EXPECT_EQ(static_cast<UINT>(ES_MULTILINE | ES_DISABLENOSCROLL | WS_VSCROLL | ES_AUTOVSCROLL |
                                ES_READONLY | ES_PASSWORD | ES_CENTER),
              edit->GetTextStyle());
    EXPECT_NE(nullptr, edit->GetVerticalScrollBar());
    EXPECT_EQ(nullptr, edit->GetHorizontalScrollBar());
    EXPECT_TRUE(edit->IsReadOnly());
    EXPECT_FALSE(edit->IsWantTab());
    EXPECT_FALSE(edit->IsWantReturn());
    EXPECT_FALSE(edit->IsWantCtrlReturn());
    EXPECT_FALSE(edit->IsRich());
    EXPECT_EQ(0xFFFF0000u, edit->GetTextColor());
    EXPECT_STREQ(L"OtherReason", edit->GetName().GetData());
    NewRoot({edit});
    EXPECT_EQ(edit, Manager().FindControl(L"OtherReason"));
    EXPECT_EQ(L"\x5176\x5B83", TextOf(edit));
    LRESULT mode = 0;
    edit->TxSendMessage(EM_GETTEXTMODE, 0, 0, &mode);
    EXPECT_NE(0, mode & TM_PLAINTEXT);
    const DWORD bits = Bits(edit);
    EXPECT_EQ(static_cast<DWORD>(TXTBIT_MULTILINE), bits & TXTBIT_MULTILINE);
    EXPECT_EQ(static_cast<DWORD>(TXTBIT_READONLY), bits & TXTBIT_READONLY);
    EXPECT_EQ(static_cast<DWORD>(TXTBIT_USEPASSWORD), bits & TXTBIT_USEPASSWORD);
    EXPECT_EQ(0u, bits & TXTBIT_RICHTEXT);
    EXPECT_EQ(static_cast<DWORD>(TXTBIT_HIDESELECTION), bits & TXTBIT_HIDESELECTION);
    // No horizontal scrolling: the text wraps.
    EXPECT_EQ(static_cast<DWORD>(TXTBIT_WORDWRAP), bits & TXTBIT_WORDWRAP);
}

TEST(RichEditAttributes, HorizontalScrollingAndAlignment) {
    CRichEditUI* edit = NewRichEdit(kEditRect, L"hscrollbar=\"true\" autohscroll=\"true\" "
                                               L"align=\"right\" multiline=\"false\"");
    EXPECT_EQ(static_cast<UINT>(ES_DISABLENOSCROLL | WS_HSCROLL | ES_AUTOHSCROLL | ES_RIGHT),
              edit->GetTextStyle());
    EXPECT_NE(nullptr, edit->GetHorizontalScrollBar());
    edit->ApplyAttribute(L"align", L"left");
    EXPECT_EQ(static_cast<UINT>(ES_DISABLENOSCROLL | WS_HSCROLL | ES_AUTOHSCROLL),
              edit->GetTextStyle());
    NewRoot({edit});
    const DWORD bits = Bits(edit);
    EXPECT_EQ(0u, bits & TXTBIT_MULTILINE);
    EXPECT_EQ(0u, bits & TXTBIT_WORDWRAP);
    EXPECT_EQ(static_cast<DWORD>(TXTBIT_RICHTEXT), bits & TXTBIT_RICHTEXT);
}

TEST(RichEditAttributes, FalseValuesAndOtherNames) {
    CRichEditUI edit;
    edit.ApplyAttribute(L"vscrollbar", L"false");
    edit.ApplyAttribute(L"autovscroll", L"TRUE");
    edit.ApplyAttribute(L"readonly", L"1");
    edit.ApplyAttribute(L"password", L"false");
    edit.ApplyAttribute(L"multiline", L"no");
    EXPECT_EQ(static_cast<UINT>(ES_MULTILINE), edit.GetTextStyle());
    EXPECT_FALSE(edit.IsReadOnly());
    EXPECT_EQ(nullptr, edit.GetVerticalScrollBar());
    // Names of the container and the control base reach them.
    edit.ApplyAttribute(L"inset", L"3,4,5,6");
    EXPECT_EQ(3, edit.GetInset().left);
    EXPECT_EQ(6, edit.GetInset().bottom);
    edit.ApplyAttribute(L"bkcolor", L"#FF102030");
    EXPECT_EQ(0xFF102030u, edit.GetBkColor());
    edit.ApplyAttribute(L"font", L"2");
    EXPECT_EQ(2, edit.GetFont());
    edit.ApplyAttribute(L"textcolor", L"FF00FF00");
    EXPECT_EQ(0xFF00FF00u, edit.GetTextColor());
    edit.ApplyAttribute(L"align", L"center right");
    EXPECT_EQ(static_cast<UINT>(ES_MULTILINE | ES_CENTER | ES_RIGHT), edit.GetTextStyle());
    edit.ApplyAttribute(nullptr, L"x");
    edit.ApplyAttribute(L"textcolor", nullptr);
    EXPECT_EQ(0u, edit.GetTextColor());
    edit.ApplyAttribute(L"unknown", L"whatever");
}

TEST(RichEditAttributes, MultilineAfterInitialisationHasNoEffect) {
    CRichEditUI* edit = NewRichEdit(kEditRect);
    NewRoot({edit});
    edit->ApplyAttribute(L"multiline", L"false");
    EXPECT_EQ(static_cast<DWORD>(TXTBIT_MULTILINE), Bits(edit) & TXTBIT_MULTILINE);
    edit->SetText(L"a\rb");
    EXPECT_EQ(L"a\rb", TextOf(edit));
}

TEST(RichEditAttributes, RichFlagAfterInitialisation) {
    CRichEditUI* edit = NewRichEdit(kEditRect);
    NewRoot({edit});
    EXPECT_EQ(static_cast<DWORD>(TXTBIT_RICHTEXT), Bits(edit) & TXTBIT_RICHTEXT);
    LRESULT mode = 0;
    edit->TxSendMessage(EM_GETTEXTMODE, 0, 0, &mode);
    EXPECT_NE(0, mode & TM_RICHTEXT);
    edit->ApplyAttribute(L"rich", L"false");
    EXPECT_FALSE(edit->IsRich());
    EXPECT_EQ(0u, Bits(edit) & TXTBIT_RICHTEXT);
    edit->SetText(L"still plain text");
    EXPECT_EQ(L"still plain text", TextOf(edit));
}

// ---- Limits --------------------------------------------------------------------------------

TEST(RichEditLimits, TypingStopsAtTheLimit) {
    CRichEditUI* edit = NewRichEdit(kEditRect);
    NewRoot({edit});
    // Lines keep the engine's wrapping quick.
    std::wstring full;
    while (static_cast<LONG>(full.size()) < edit->GetLimitText()) {
        full += full.size() % 80 == 79 ? L'\r' : L'x';
    }
    edit->SetText(full.c_str());
    edit->SetFocus();
    edit->SetSel(-1, -1);
    Type(L"yz");
    EXPECT_EQ(static_cast<LONG>(full.size()), edit->GetTextLength());
    EXPECT_EQ(full, TextOf(edit));
}
