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

} // namespace

// ---- Identity and lifecycle -----------------------------------------------------------------

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

// ---- Text get and set -----------------------------------------------------------------------

// Texts read back whole, line ends as lone carriage returns; the length
// counts UTF-16 units.
TEST(RichEditText, TextsReadBackWithTheirLength) {
    CRichEditUI* edit = NewRichEdit(kEditRect);
    NewRoot({edit});
    std::wstring longText;
    for (int i = 0; i < 3000; ++i) {
        longText += L"line " + std::to_wstring(i) + L"\r";
    }
    const std::wstring chinese = L"\x6E38\x620F\x592A\x96BE\x4E86\xFF0C\x6CA1\x6709\x65F6\x95F4";
    const std::wstring text141 = Text141();
    const struct {
        std::wstring set;
        std::wstring back;
    } cases[] = {
        {L"plain", L"plain"},
        {chinese, chinese},
        {L"a\xD83D\xDE00z", L"a\xD83D\xDE00z"}, // two units outside the basic plane
        {L"one\r\ntwo\rthree\nfour", L"one\rtwo\rthree\rfour"},
        {text141, text141},
        {text141.substr(0, 140), text141.substr(0, 140)},
        {longText, longText},
        {L"", L""},
    };
    for (const auto& c : cases) {
        edit->SetText(c.set.c_str());
        EXPECT_EQ(c.back, TextOf(edit)) << c.back.size();
        EXPECT_EQ(static_cast<LONG>(c.back.size()), edit->GetTextLength()) << c.back.size();
    }
    edit->SetText(L"one\r\ntwo\rthree\nfour");
    // Asked with CR/LF pairs, each line end counts two.
    EXPECT_EQ(21, edit->GetTextLength(GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS));
    edit->SetText(nullptr);
    EXPECT_EQ(L"", TextOf(edit));
}

// ---- Attributes from skin text --------------------------------------------------------------

// Style attributes count only before initialisation, whether the engine
// started at once (shown) or starts later (hidden until now).
TEST(RichEditAttributes, StyleGivenAfterInitialisationHasNoEffect) {
    const struct {
        LPCWSTR name;
        LPCWSTR value;
        DWORD bit;
        DWORD kept;
    } cases[] = {
        {L"multiline", L"false", TXTBIT_MULTILINE, TXTBIT_MULTILINE},
        {L"readonly", L"true", TXTBIT_READONLY, 0},
        {L"password", L"true", TXTBIT_USEPASSWORD, 0},
        {L"autohscroll", L"true", TXTBIT_WORDWRAP, TXTBIT_WORDWRAP},
    };
    const RECT hiddenRect = {20, 160, 320, 220};
    for (const auto& c : cases) {
        CRichEditUI* shown = NewRichEdit(kEditRect);
        CRichEditUI* hidden = NewRichEdit(hiddenRect);
        hidden->SetVisible(false);
        NewRoot({shown, hidden});
        shown->ApplyAttribute(c.name, c.value);
        hidden->ApplyAttribute(c.name, c.value);
        hidden->SetVisible(true);
        Settle();
        for (const CRichEditUI* edit : {shown, hidden}) {
            ASSERT_NE(nullptr, edit->GetTextHost()) << c.name;
            EXPECT_EQ(c.kept, edit->GetTextHost()->GetPropertyBits() & c.bit)
                << c.name << (edit == shown ? " shown" : " hidden");
        }
    }
    // What the player meets: Enter still breaks the line.
    CRichEditUI* edit = NewRichEdit(kEditRect);
    edit->SetVisible(false);
    NewRoot({edit});
    edit->ApplyAttribute(L"multiline", L"false");
    edit->SetVisible(true);
    Settle();
    Click(kEditRect.left + 10, kEditRect.top + 10);
    Type(L"a");
    Press(VK_RETURN);
    Type(L"b");
    EXPECT_EQ(L"a\rb", TextOf(edit));
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
