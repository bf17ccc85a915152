#include <windows.h>

#include "tests/ui/RichEditDesktop.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/controls/TextHost.h"

using namespace RichEditTest;

namespace {

const RECT kEditRect = {40, 40, 340, 160};
const uint32_t kWhite = 0xFFFFFF;

// The first line's text sits in the top strip of the text area.
RECT TopStrip(const RECT& rc) {
    return RECT{rc.left, rc.top, rc.right - 20, rc.top + 14};
}

// A root with the edit and no focus, so that no caret shows in the pixels.
void ShowUnfocused(CRichEditUI* edit) {
    NewRoot({edit});
    Manager().SetFocus(nullptr);
    Settle();
}

} // namespace

// ---- Painting ------------------------------------------------------------------------------

TEST(RichEditPaint, TextIsDrawnWhereItLies) {
    CRichEditUI* edit = NewRichEdit(kEditRect);
    ShowUnfocused(edit);
    const auto empty = Capture();
    EXPECT_EQ(0, PixelsNot(*empty, kEditRect, kWhite));
    edit->SetText(L"WWWW MMMM");
    const auto written = Capture();
    const RECT strip = TopStrip(kEditRect);
    EXPECT_GT(ChangedPixels(*empty, *written, strip), 20);
    // Nothing drawn outside the control, nor far right of the short text.
    EXPECT_EQ(0, PixelsNot(*written, RECT{0, 0, kWidth, kEditRect.top}, kWhite));
    EXPECT_EQ(
        0, PixelsNot(*written,
                     RECT{kEditRect.left + 200, kEditRect.top, kEditRect.right, kEditRect.bottom},
                     kWhite));
    EXPECT_EQ(0,
              PixelsNot(*written,
                        RECT{kEditRect.left, kEditRect.top + 30, kEditRect.right, kEditRect.bottom},
                        kWhite));
    edit->SetText(L"");
    const auto cleared = Capture();
    EXPECT_EQ(0, PixelsNot(*cleared, kEditRect, kWhite));
}

// ---- Scrolling ------------------------------------------------------------------------------

TEST(RichEditScroll, LongTextShowsTheVerticalBarAndScrolls) {
    CRichEditUI* edit = NewRichEdit(kEditRect, L"vscrollbar=\"true\" autovscroll=\"true\"");
    NewRoot({edit});
    edit->SetText(L"short");
    Settle();
    EXPECT_FALSE(VerticalShown(edit));
    edit->SetText(Lines(60).c_str());
    Settle();
    ASSERT_TRUE(VerticalShown(edit));
    const SkinUI::CScrollBarUI* bar = edit->GetVerticalScrollBar();
    EXPECT_GT(bar->GetScrollRange(), 200);
    // The bar sits at the right edge; the text rectangle leaves room for it.
    EXPECT_EQ(kEditRect.right, bar->GetPos().right);
    EXPECT_EQ(kEditRect.right - bar->GetFixedWidth(), bar->GetPos().left);
    EXPECT_EQ(kEditRect.right - bar->GetFixedWidth(), edit->GetTextHost()->GetControlRect().right);

    edit->HomeUp();
    const auto top = Capture();
    EXPECT_EQ(0, VerticalPos(edit));
    edit->LineDown();
    const int oneLine = VerticalPos(edit);
    EXPECT_GT(oneLine, 0);
    edit->PageDown();
    EXPECT_GT(VerticalPos(edit), oneLine);
    edit->EndDown();
    Settle();
    const int end = VerticalPos(edit);
    EXPECT_GT(end, oneLine);
    const auto bottom = Capture();
    EXPECT_GT(ChangedPixels(*top, *bottom, TopStrip(kEditRect)), 20);
    edit->PageUp();
    EXPECT_LT(VerticalPos(edit), end);
    edit->LineUp();
    edit->HomeUp();
    EXPECT_EQ(0, VerticalPos(edit));
    const auto again = Capture();
    EXPECT_EQ(0, ChangedPixels(*top, *again, TopStrip(kEditRect)));
}

TEST(RichEditScroll, ContentTallerThanSixteenBitsOfPixels) {
    CRichEditUI* edit = NewRichEdit(kEditRect, L"vscrollbar=\"true\"");
    NewRoot({edit});
    edit->SetText(Lines(6000).c_str());
    Settle();
    ASSERT_TRUE(VerticalShown(edit));
    // The engine scales its range into what a scroll message carries.
    const int range = edit->GetVerticalScrollBar()->GetScrollRange();
    ASSERT_GT(range, 1000);
    ASSERT_LE(range, 0xFFFF);
    const auto firstLine = [&] {
        LRESULT line = 0;
        edit->TxSendMessage(EM_GETFIRSTVISIBLELINE, 0, 0, &line);
        return static_cast<int>(line);
    };
    edit->EndDown();
    EXPECT_GT(firstLine(), 5980);
    edit->SetScrollPos(SIZE{0, range / 2});
    Settle();
    EXPECT_NEAR(range / 2, VerticalPos(edit), range / 100 + 2);
    EXPECT_NEAR(3000, firstLine(), 60);
    edit->HomeUp();
    EXPECT_EQ(0, VerticalPos(edit));
    EXPECT_EQ(0, firstLine());
}

TEST(RichEditScroll, DeletingTypedLinesHidesTheBarAgain) {
    CRichEditUI* edit = NewRichEdit(kEditRect, L"vscrollbar=\"true\" autovscroll=\"true\"");
    NewRoot({edit});
    Click(kEditRect.left + 10, kEditRect.top + 10);
    for (int i = 0; i < 12; ++i) {
        Type(L"row");
        Press(VK_RETURN);
    }
    Settle();
    ASSERT_TRUE(VerticalShown(edit));
    PressWith(VK_CONTROL, 'A');
    Press(VK_DELETE);
    Settle();
    EXPECT_EQ(L"", TextOf(edit));
    EXPECT_FALSE(VerticalShown(edit));
    EXPECT_EQ(kEditRect.right, edit->GetTextHost()->GetControlRect().right);
}
