#include <windows.h>

#include "tests/ui/RichEditDesktop.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/controls/TextHost.h"

using namespace RichEditTest;

namespace {

const RECT kEditRect = {40, 40, 340, 160};
const uint32_t kWhite = 0xFFFFFF;

std::wstring Lines(int count) {
    std::wstring text;
    for (int i = 0; i < count; ++i) {
        text += L"line number ";
        text += std::to_wstring(i);
        if (i + 1 < count) {
            text += L"\r";
        }
    }
    return text;
}

// The first line's text sits in the top strip of the text area.
RECT TopStrip(const RECT& rc) {
    return RECT{rc.left, rc.top, rc.right - 20, rc.top + 14};
}

int VerticalPos(const CRichEditUI* edit) {
    const SkinUI::CScrollBarUI* bar = edit->GetVerticalScrollBar();
    return bar != nullptr ? bar->GetScrollPos() : -1;
}

bool VerticalShown(const CRichEditUI* edit) {
    const SkinUI::CScrollBarUI* bar = edit->GetVerticalScrollBar();
    return bar != nullptr && bar->IsVisible();
}

// A root with the edit and no focus, so that no caret shows in the pixels.
void ShowUnfocused(CRichEditUI* edit) {
    NewRoot({edit});
    Manager().SetFocus(nullptr);
    Settle();
}

int YellowPixels(const TestSupport::DibSurface& shot, const RECT& rc) {
    int count = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            const uint32_t c = shot.Rgb(x, y);
            count += ((c >> 16) & 0xFF) > 0xC0 && ((c >> 8) & 0xFF) > 0xC0 && (c & 0xFF) < 0x80;
        }
    }
    return count;
}

// Rows of rc in which something other than white is drawn.
int InkRows(const TestSupport::DibSurface& shot, const RECT& rc) {
    int rows = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        rows += PixelsNot(shot, RECT{rc.left, y, rc.right, y + 1}, kWhite) > 0 ? 1 : 0;
    }
    return rows;
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

TEST(RichEditPaint, SecondLineDrawnBelowTheFirst) {
    CRichEditUI* edit = NewRichEdit(kEditRect);
    NewRoot({edit});
    Manager().SetFocus(nullptr);
    edit->SetText(L"MMMM\rMMMM");
    const auto shot = Capture();
    EXPECT_GT(
        PixelsNot(*shot,
                  RECT{kEditRect.left, kEditRect.top + 14, kEditRect.right, kEditRect.top + 40},
                  kWhite),
        20);
}

TEST(RichEditPaint, BackgroundShowsThroughAndTextColourApplies) {
    CRichEditUI* edit = NewRichEdit(kEditRect, L"bkcolor=\"#FF2040C0\" textcolor=\"#FFFFFF00\"");
    ShowUnfocused(edit);
    edit->SetText(L"MMMMMMMM");
    const auto shot = Capture();
    // The engine draws transparently over the control's own background.
    EXPECT_EQ(0x2040C0u, shot->Rgb(kEditRect.right - 5, kEditRect.bottom - 5));
    EXPECT_EQ(0x2040C0u, shot->Rgb(kEditRect.left + 1, kEditRect.top + 40));
    EXPECT_GT(YellowPixels(*shot, TopStrip(kEditRect)), 10);
}

TEST(RichEditPaint, ColourAndFontChangedAfterInitialisation) {
    CRichEditUI* edit = NewRichEdit(kEditRect);
    ShowUnfocused(edit);
    edit->SetText(L"MMMMMMMM");
    const auto black = Capture();
    EXPECT_EQ(0, YellowPixels(*black, TopStrip(kEditRect)));
    const int smallRows = InkRows(*black, kEditRect);
    EXPECT_GT(smallRows, 5);
    edit->SetTextColor(0xFFFFFF00);
    edit->SetText(L"MMMMMMMM");
    const auto yellow = Capture();
    EXPECT_GT(YellowPixels(*yellow, TopStrip(kEditRect)), 10);
    Manager().AddFont(L"DejaVu Sans", 40, true, false, false);
    edit->SetFont(Manager().GetCustomFontCount() - 1);
    edit->SetText(L"MMMMMMMM");
    const auto big = Capture();
    EXPECT_GT(InkRows(*big, kEditRect), smallRows + 10);
}

TEST(RichEditPaint, TypedTextIsPainted) {
    CRichEditUI* edit = NewRichEdit(kEditRect);
    NewRoot({edit});
    Click(kEditRect.left + 10, kEditRect.top + 10);
    const auto before = Capture();
    Type(L"MMMMMM");
    const auto after = Capture();
    EXPECT_GT(ChangedPixels(*before, *after, TopStrip(kEditRect)), 20);
}

TEST(RichEditPaint, InsetMovesTheText) {
    CRichEditUI* edit = NewRichEdit(kEditRect, L"inset=\"0,50,0,0\"");
    ShowUnfocused(edit);
    edit->SetText(L"MMMMMMMM");
    const auto shot = Capture();
    EXPECT_EQ(0, PixelsNot(*shot,
                           RECT{kEditRect.left, kEditRect.top, kEditRect.right, kEditRect.top + 50},
                           kWhite));
    EXPECT_GT(
        PixelsNot(*shot,
                  RECT{kEditRect.left, kEditRect.top + 50, kEditRect.right, kEditRect.top + 70},
                  kWhite),
        20);
}

TEST(RichEditPaint, PasswordModeKeepsTheText) {
    CRichEditUI* edit = NewRichEdit(kEditRect, L"password=\"true\"");
    NewRoot({edit});
    Click(kEditRect.left + 10, kEditRect.top + 10);
    Type(L"secret");
    EXPECT_EQ(L"secret", TextOf(edit));
    EXPECT_NE(0u, edit->GetTextHost()->GetPropertyBits() & TXTBIT_USEPASSWORD);
    const auto shot = Capture();
    EXPECT_GT(PixelsNot(*shot, TopStrip(kEditRect), kWhite), 0);
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

TEST(RichEditScroll, SetScrollPosMovesTheText) {
    CRichEditUI* edit = NewRichEdit(kEditRect, L"vscrollbar=\"true\"");
    NewRoot({edit});
    edit->SetText(Lines(60).c_str());
    Settle();
    ASSERT_TRUE(VerticalShown(edit));
    const auto top = Capture();
    edit->SetScrollPos(SIZE{0, 100});
    Settle();
    EXPECT_NEAR(100, VerticalPos(edit), 20);
    EXPECT_EQ(edit->GetScrollPos().cy, VerticalPos(edit));
    const auto moved = Capture();
    EXPECT_GT(ChangedPixels(*top, *moved, TopStrip(kEditRect)), 20);
    edit->SetScrollPos(SIZE{0, 0});
    EXPECT_EQ(0, VerticalPos(edit));
}

TEST(RichEditScroll, WheelScrollsWithoutCtrl) {
    CRichEditUI* edit = NewRichEdit(kEditRect, L"vscrollbar=\"true\"");
    NewRoot({edit});
    edit->SetText(Lines(60).c_str());
    Settle();
    ASSERT_TRUE(VerticalShown(edit));
    MoveTo(kEditRect.left + 30, kEditRect.top + 30);
    Wheel(-WHEEL_DELTA);
    EXPECT_TRUE(PumpUntil([&] { return VerticalPos(edit) > 0; }, 1000));
    const int down = VerticalPos(edit);
    Wheel(WHEEL_DELTA);
    EXPECT_TRUE(PumpUntil([&] { return VerticalPos(edit) < down; }, 1000));
}

TEST(RichEditScroll, TypingPastTheBottomKeepsTheCaretInView) {
    CRichEditUI* edit = NewRichEdit(kEditRect, L"vscrollbar=\"true\" autovscroll=\"true\"");
    NewRoot({edit});
    Click(kEditRect.left + 10, kEditRect.top + 10);
    for (int i = 0; i < 14; ++i) {
        Type(L"row");
        Press(VK_RETURN);
    }
    Type(L"last");
    Settle();
    EXPECT_TRUE(VerticalShown(edit));
    EXPECT_GT(VerticalPos(edit), 0);
    POINT caret = {};
    ASSERT_TRUE(::GetCaretPos(&caret));
    EXPECT_GE(caret.y, kEditRect.top);
    EXPECT_LT(caret.y, kEditRect.bottom);
}

TEST(RichEditScroll, BarHidesAgainWhenTheTextShrinks) {
    CRichEditUI* edit = NewRichEdit(kEditRect, L"vscrollbar=\"true\"");
    NewRoot({edit});
    edit->SetText(Lines(60).c_str());
    Settle();
    ASSERT_TRUE(VerticalShown(edit));
    edit->SetText(L"one line");
    Settle();
    EXPECT_FALSE(VerticalShown(edit));
    EXPECT_EQ(kEditRect.right, edit->GetTextHost()->GetControlRect().right);
    const auto shot = Capture();
    EXPECT_GT(PixelsNot(*shot, TopStrip(kEditRect), kWhite), 20);
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

TEST(RichEditScroll, PlainTextScrolls) {
    CRichEditUI* edit = NewRichEdit(kEditRect, L"vscrollbar=\"true\" rich=\"false\"");
    NewRoot({edit});
    edit->SetText(Lines(60).c_str());
    Settle();
    ASSERT_TRUE(VerticalShown(edit));
    edit->LineDown();
    EXPECT_GT(VerticalPos(edit), 0);
    edit->SetScrollPos(SIZE{0, 150});
    EXPECT_NEAR(150, VerticalPos(edit), 20);
    edit->EndDown();
    edit->LineDown();
    EXPECT_EQ(edit->GetVerticalScrollBar()->GetScrollRange(), VerticalPos(edit));
}

TEST(RichEditScroll, HorizontalScrollingOfALongLine) {
    CRichEditUI* edit = NewRichEdit(kEditRect, L"hscrollbar=\"true\" autohscroll=\"true\"");
    NewRoot({edit});
    std::wstring line;
    for (int i = 0; i < 80; ++i) {
        line += L"word ";
    }
    edit->SetText(line.c_str());
    Settle();
    const SkinUI::CScrollBarUI* bar = edit->GetHorizontalScrollBar();
    ASSERT_NE(nullptr, bar);
    ASSERT_TRUE(bar->IsVisible());
    EXPECT_GT(bar->GetScrollRange(), 100);
    edit->LineRight();
    EXPECT_GT(bar->GetScrollPos(), 0);
    edit->EndRight();
    EXPECT_GT(bar->GetScrollPos(), 100);
    edit->HomeLeft();
    EXPECT_EQ(0, bar->GetScrollPos());
}

TEST(RichEditScroll, ClicksOnTheBarScrollTheText) {
    CRichEditUI* edit = NewRichEdit(kEditRect, L"vscrollbar=\"true\"");
    NewRoot({edit});
    edit->SetText(Lines(60).c_str());
    Settle();
    ASSERT_TRUE(VerticalShown(edit));
    const RECT down = edit->GetVerticalScrollBar()->GetButton2Rect();
    ASSERT_LT(down.top, down.bottom);
    Click((down.left + down.right) / 2, (down.top + down.bottom) / 2);
    EXPECT_TRUE(PumpUntil([&] { return VerticalPos(edit) > 0; }, 1000));
    const int pos = VerticalPos(edit);
    const RECT up = edit->GetVerticalScrollBar()->GetButton1Rect();
    Click((up.left + up.right) / 2, (up.top + up.bottom) / 2);
    EXPECT_TRUE(PumpUntil([&] { return VerticalPos(edit) < pos; }, 1000));
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

TEST(RichEditScroll, NoBarWithoutTheAttribute) {
    CRichEditUI* edit = NewRichEdit(kEditRect);
    NewRoot({edit});
    edit->SetText(Lines(60).c_str());
    Settle();
    EXPECT_EQ(nullptr, edit->GetVerticalScrollBar());
    EXPECT_EQ(kEditRect.right, edit->GetTextHost()->GetControlRect().right);
    // The engine still scrolls its text on request.
    edit->EndDown();
    LRESULT line = 0;
    edit->TxSendMessage(EM_GETFIRSTVISIBLELINE, 0, 0, &line);
    EXPECT_GT(line, 40);
}
