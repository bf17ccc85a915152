#include <windows.h>

#include "ui/RendererUI.h"
#include "ui/WindowManagerUI.h"
#include "tests/support/FileUtil.h"
#include "tests/support/TempDir.h"
#include "tests/ui/RendererTestUtil.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace SkinUI;
using namespace TestSupport;
using namespace RendererTest;

namespace {

const UINT kSingle = DT_SINGLELINE;

// Text measured and drawn with the manager's own fonts, so that expected
// sizes and pixels come from the same fonts the renderer uses.
class MarkupTest : public ::testing::Test {
protected:
    void SetUp() override {
        def_ = manager_.GetDefaultFontInfo();
        ASSERT_NE(nullptr, def_);
        ASSERT_NE(nullptr, def_->hFont);
    }

    HFONT Styled(bool bold, bool underline, bool italic) {
        HFONT font = manager_.GetFont(def_->sFontName, def_->iSize, bold, underline, italic);
        if (font == nullptr) {
            font = manager_.AddFont(def_->sFontName, def_->iSize, bold, underline, italic);
        }
        return font;
    }

    int Extent(HFONT font, const std::wstring& text) {
        const HGDIOBJ old = ::SelectObject(probe_.DC(), font);
        SIZE size = {0, 0};
        ::GetTextExtentPoint32W(probe_.DC(), text.c_str(), static_cast<int>(text.size()), &size);
        ::SelectObject(probe_.DC(), old);
        return size.cx;
    }

    int LineHeight(HFONT font) {
        const HGDIOBJ old = ::SelectObject(probe_.DC(), font);
        TEXTMETRICW tm = {};
        ::GetTextMetricsW(probe_.DC(), &tm);
        ::SelectObject(probe_.DC(), old);
        return tm.tmHeight + tm.tmExternalLeading;
    }

    RECT Measure(const std::wstring& text, UINT style = kSingle, int width = 9999) {
        RECT rc = {0, 0, width, 100};
        int links = 0;
        CRendererUI::DrawMarkupText(probe_.DC(), &manager_, rc, text.c_str(), 0xFF000000, nullptr,
                                    nullptr, links, style | DT_CALCRECT);
        return rc;
    }

    // Text drawn the plain GDI way, for pixel comparison.
    void Reference(DibSurface& surface, HFONT font, int x, int y, const std::wstring& text,
                   COLORREF color = RGB(0, 0, 0)) {
        const HGDIOBJ old = ::SelectObject(surface.DC(), font);
        ::SetBkMode(surface.DC(), TRANSPARENT);
        ::SetTextColor(surface.DC(), color);
        ::TextOutW(surface.DC(), x, y, text.c_str(), static_cast<int>(text.size()));
        ::SelectObject(surface.DC(), old);
    }

    ::testing::AssertionResult SamePixels(const DibSurface& a, const DibSurface& b,
                                          const RECT& rc) {
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x) {
                if (ChannelDistance(a.Pixel(x, y), b.Pixel(x, y)) > 2) {
                    return ::testing::AssertionFailure()
                           << "differ at " << x << "," << y << ": " << std::hex
                           << (a.Pixel(x, y) & 0xFFFFFF) << " vs " << (b.Pixel(x, y) & 0xFFFFFF);
                }
            }
        }
        return ::testing::AssertionSuccess();
    }

    CWindowManagerUI manager_;
    TFontRecordUI* def_ = nullptr;
    DibSurface probe_{4, 4};
};

TEST_F(MarkupTest, BoldWordThenEscapesInTheDefaultFont) {
    const std::wstring text = L"<b>bold</b> {<}x{>}";
    const HFONT bold = Styled(true, false, false);
    const int width = Extent(bold, L"bold") + Extent(def_->hFont, L" ") +
                      Extent(def_->hFont, L"<") + Extent(def_->hFont, L"x") +
                      Extent(def_->hFont, L">");
    const int height = std::max(LineHeight(bold), LineHeight(def_->hFont));
    const RECT measured = Measure(text);
    EXPECT_EQ(0, measured.left);
    EXPECT_EQ(width, measured.right);
    EXPECT_EQ(height, measured.bottom);

    DibSurface drawn(200, 40, 0xFFFFFFFF), expected(200, 40, 0xFFFFFFFF);
    RECT rc = {0, 0, 200, 40};
    int links = 0;
    CRendererUI::DrawMarkupText(drawn.DC(), &manager_, rc, text.c_str(), 0xFF000000, nullptr,
                                nullptr, links, kSingle);
    int x = 0;
    Reference(expected, bold, x, height - LineHeight(bold), L"bold");
    x += Extent(bold, L"bold");
    for (const wchar_t* piece : {L" ", L"<", L"x", L">"}) {
        Reference(expected, def_->hFont, x, height - LineHeight(def_->hFont), piece);
        x += Extent(def_->hFont, piece);
    }
    EXPECT_GT(CountChanged(drawn, drawn.Rect(), 0xFFFFFF), 20);
    EXPECT_TRUE(SamePixels(drawn, expected, drawn.Rect()));
}

TEST_F(MarkupTest, PlainTextMatchesDrawText) {
    DibSurface drawn(200, 30, 0xFFFFFFFF), expected(200, 30, 0xFFFFFFFF);
    RECT rc = {3, 2, 200, 30};
    CRendererUI::DrawText(drawn.DC(), &manager_, rc, L"Plain & simple", 0xFF204080, -1,
                          DT_SINGLELINE);
    RECT rcRef = {3, 2, 200, 30};
    const HGDIOBJ old = ::SelectObject(expected.DC(), def_->hFont);
    ::SetBkMode(expected.DC(), TRANSPARENT);
    ::SetTextColor(expected.DC(), RGB(0x20, 0x40, 0x80));
    ::DrawTextW(expected.DC(), L"Plain & simple", -1, &rcRef, DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(expected.DC(), old);
    EXPECT_GT(CountChanged(drawn, drawn.Rect(), 0xFFFFFF), 20);
    EXPECT_TRUE(SamePixels(drawn, expected, drawn.Rect()));

    RECT calc = {0, 0, 500, 100};
    CRendererUI::DrawText(probe_.DC(), &manager_, calc, L"&x", 0xFF000000, 99,
                          DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(Extent(def_->hFont, L"&x"), calc.right); // no prefix processing

    RECT untouched = {0, 0, 10, 10};
    CRendererUI::DrawText(drawn.DC(), nullptr, untouched, L"x", 0xFF000000, 0, 0);
    CRendererUI::DrawText(drawn.DC(), &manager_, untouched, nullptr, 0xFF000000, 0, 0);
}

TEST_F(MarkupTest, ColourTagsPushAndPop) {
    DibSurface drawn(200, 30, 0xFFFFFFFF), expected(200, 30, 0xFFFFFFFF);
    RECT rc = {0, 0, 200, 30};
    int links = 0;
    CRendererUI::DrawMarkupText(drawn.DC(), &manager_, rc, L"<c #FF0000>red</c>blue", 0xFF0000FF,
                                nullptr, nullptr, links, kSingle);
    const int h = LineHeight(def_->hFont);
    Reference(expected, def_->hFont, 0, 0, L"red", RGB(255, 0, 0));
    Reference(expected, def_->hFont, Extent(def_->hFont, L"red"), 0, L"blue", RGB(0, 0, 255));
    EXPECT_TRUE(SamePixels(drawn, expected, {0, 0, 200, h}));
}

TEST_F(MarkupTest, RawTextKeepsTags) {
    const HFONT f = def_->hFont;
    EXPECT_EQ(Extent(f, L"<b>{n}"), Measure(L"<r><b>{n}</r>").right);
    EXPECT_EQ(Extent(f, L"<b>") + Extent(f, L"x"), Measure(L"{r}<b>{/r}x").right);
}

TEST_F(MarkupTest, MalformedTagsAreText) {
    const HFONT f = def_->hFont;
    EXPECT_EQ(Extent(f, L"<") + Extent(f, L"b"), Measure(L"<b").right);
    EXPECT_EQ(Extent(f, L"<") + Extent(f, L"B>"), Measure(L"<B>").right);
    EXPECT_EQ(Extent(f, L"x"), Measure(L"<q some>x</q>").right);     // unknown tags vanish
    EXPECT_EQ(Extent(f, L"x"), Measure(L"</b></b></c></a>x").right); // stray closings
}

TEST_F(MarkupTest, WordBreakAndCalcRect) {
    const HFONT f = def_->hFont;
    const int width = Extent(f, L"aaa b") + 1;
    const RECT rc = Measure(L"aaa bbb", DT_WORDBREAK, width);
    EXPECT_EQ(2 * LineHeight(f), rc.bottom);
    EXPECT_EQ(std::max(Extent(f, L"aaa "), Extent(f, L"bbb")), rc.right);
    // Without word breaks the line is cut where the pen reaches the edge.
    const RECT cut = Measure(L"aaaaaa", 0, Extent(f, L"aaa") + 1);
    EXPECT_EQ(2 * LineHeight(f), cut.bottom);
}

// A line break at the end of the text opens one more, empty line.
TEST_F(MarkupTest, TrailingLineBreakCountsTheEmptyLastLine) {
    const struct {
        const wchar_t* text;
        int lines;
    } cases[] = {
        {L"abc", 1}, {L"abc\n", 2}, {L"abc<n>", 2}, {L"<p>abc</p>", 2}, {L"abc\n\n", 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.lines * LineHeight(def_->hFont), Measure(c.text, 0).bottom) << ToUtf8(c.text);
    }
}

// On a line taller than the font the text sits on the line's bottom and the
// "..." of an end ellipsis at its top.
TEST_F(MarkupTest, EndEllipsisStandsAtTheTopOfATallLine) {
    const HFONT f = def_->hFont;
    const int h = LineHeight(f);
    DibSurface drawn(Extent(f, L"abcde") + 1, 40, 0xFFFFFFFF);
    DibSurface expected(drawn.Width(), 40, 0xFFFFFFFF);
    RECT rc = drawn.Rect();
    int links = 0;
    CRendererUI::DrawMarkupText(drawn.DC(), &manager_, rc, L"<y 40>abcdefghij", 0xFF000000, nullptr,
                                nullptr, links, kSingle | DT_END_ELLIPSIS);
    Reference(expected, f, 0, 40 - h, L"abc");
    Reference(expected, f, Extent(f, L"abc"), 0, L"...");
    EXPECT_TRUE(SamePixels(drawn, expected, drawn.Rect()));
}

TEST_F(MarkupTest, NarrowRectangleStillMakesProgress) {
    // Each line takes at least one character, also when none fits.
    const RECT rc = Measure(L"abc", 0, 1);
    EXPECT_EQ(3 * LineHeight(def_->hFont), rc.bottom);
}

TEST_F(MarkupTest, SingleLineCentredAndRightAligned) {
    const HFONT f = def_->hFont;
    const int w = Extent(f, L"mid");
    DibSurface drawn(100, 30, 0xFFFFFFFF), expected(100, 30, 0xFFFFFFFF);
    RECT rc = {0, 0, 100, 30};
    int links = 0;
    CRendererUI::DrawMarkupText(drawn.DC(), &manager_, rc, L"mid", 0xFF000000, nullptr, nullptr,
                                links, kSingle | DT_CENTER | DT_VCENTER);
    const int h = LineHeight(f);
    Reference(expected, f, 50 - w / 2, 15 - h / 2, L"mid");
    EXPECT_TRUE(SamePixels(drawn, expected, drawn.Rect()));
    EXPECT_EQ(0, rc.left); // drawing leaves the caller's rectangle alone
    EXPECT_EQ(100, rc.right);

    DibSurface right(100, 30, 0xFFFFFFFF), rightExpected(100, 30, 0xFFFFFFFF);
    CRendererUI::DrawMarkupText(right.DC(), &manager_, rc, L"mid", 0xFF000000, nullptr, nullptr,
                                links, kSingle | DT_RIGHT | DT_BOTTOM);
    Reference(rightExpected, f, 100 - w, 30 - h, L"mid");
    EXPECT_TRUE(SamePixels(right, rightExpected, right.Rect()));
}

TEST_F(MarkupTest, LinkRectangleAndName) {
    const HFONT ul = Styled(false, true, false);
    RECT links[4] = {};
    CUIString names[4];
    int count = 4;
    RECT rc = {5, 3, 300, 40};
    CRendererUI::DrawMarkupText(probe_.DC(), &manager_, rc, L"see <a home>link</a> tail",
                                0xFF000000, links, names, count, kSingle);
    ASSERT_EQ(1, count);
    EXPECT_EQ(std::wstring(L"home"), names[0].GetData());
    const int h = std::max(LineHeight(ul), LineHeight(def_->hFont));
    const int left = 5 + Extent(def_->hFont, L"see ");
    EXPECT_EQ(left, links[0].left);
    EXPECT_EQ(3, links[0].top);
    EXPECT_EQ(left + Extent(ul, L"link"), links[0].right);
    EXPECT_EQ(3 + h, links[0].bottom);
}

TEST_F(MarkupTest, LinkSplitOverTwoLinesGivesTwoRectangles) {
    const HFONT ul = Styled(false, true, false);
    RECT links[4] = {};
    CUIString names[4];
    int count = 4;
    const int width = Extent(ul, L"aaa b") + 1;
    RECT rc = {0, 0, width, 100};
    CRendererUI::DrawMarkupText(probe_.DC(), &manager_, rc, L"<a x>aaa bbb</a>", 0xFF000000, links,
                                names, count, DT_WORDBREAK);
    ASSERT_EQ(2, count);
    const int h = LineHeight(ul);
    EXPECT_EQ(std::wstring(L"x"), names[0].GetData());
    EXPECT_EQ(std::wstring(L"x"), names[1].GetData());
    EXPECT_EQ(0, links[0].left);
    EXPECT_EQ(Extent(ul, L"aaa "), links[0].right);
    EXPECT_EQ(0, links[0].top);
    EXPECT_EQ(h, links[0].bottom);
    EXPECT_EQ(0, links[1].left);
    EXPECT_EQ(Extent(ul, L"bbb"), links[1].right);
    EXPECT_EQ(h, links[1].top);
    EXPECT_EQ(2 * h, links[1].bottom);

    // Room for one rectangle: the first part only.
    count = 1;
    CRendererUI::DrawMarkupText(probe_.DC(), &manager_, rc, L"<a x>aaa bbb</a>", 0xFF000000, links,
                                names, count, DT_WORDBREAK);
    EXPECT_EQ(1, count);
}

TEST_F(MarkupTest, NoLinkSlotsNoRectangles) {
    RECT links[1] = {{1, 2, 3, 4}};
    CUIString names[1] = {CUIString(L"keep")};
    int count = 0;
    RECT rc = {0, 0, 200, 30};
    CRendererUI::DrawMarkupText(probe_.DC(), &manager_, rc, L"<a n>x</a>", 0xFF000000, links, names,
                                count, kSingle);
    EXPECT_EQ(0, count);
    EXPECT_EQ(1, links[0].left);
    EXPECT_EQ(std::wstring(L"keep"), names[0].GetData());
    count = 3;
    CRendererUI::DrawMarkupText(probe_.DC(), &manager_, rc, L"<a n>x</a>", 0xFF000000, nullptr,
                                nullptr, count, kSingle);
    EXPECT_EQ(0, count);
}

TEST_F(MarkupTest, InlineImageFrames) {
    TempDir dir(L"mk");
    ArgbImage strip(20, 8, 0xFFFF0000);
    strip.FillRect(10, 0, 20, 8, 0xFF0000FF); // frame 1 blue
    const std::wstring path = dir / L"strip.png";
    ASSERT_TRUE(WriteFileBytes(path, EncodePng(strip)));
    const HFONT f = def_->hFont;
    const int h = LineHeight(f);

    const std::wstring tag = L"<i file='" + path + L"' 2 1>";
    const RECT measured = Measure(L"a" + tag + L"b");
    EXPECT_EQ(Extent(f, L"a") + 10 + Extent(f, L"b"), measured.right);
    EXPECT_EQ(std::max(h, 8), measured.bottom);

    DibSurface drawn(100, 40, 0xFFFFFFFF);
    RECT rc = {0, 0, 100, 40};
    int links = 0;
    CRendererUI::DrawMarkupText(drawn.DC(), &manager_, rc, tag.c_str(), 0xFF000000, nullptr,
                                nullptr, links, kSingle);
    const int lineHeight = std::max(h, 8);
    int top = lineHeight - 8;
    if (8 < lineHeight) {
        top -= (lineHeight - 8) / 2;
    }
    EXPECT_TRUE(AreaIs(drawn, {0, top, 10, top + 8}, 0x0000FF));
    EXPECT_EQ(80, CountChanged(drawn, drawn.Rect(), 0xFFFFFF));

    // A tall image raises the line; an index out of range is frame 0.
    ArgbImage tall(6, 50, 0xFF00FF00);
    const std::wstring tallPath = dir / L"tall.png";
    ASSERT_TRUE(WriteFileBytes(tallPath, EncodePng(tall)));
    EXPECT_EQ(50, Measure(L"x<i file='" + tallPath + L"' 1 7>").bottom);
    // A missing image draws nothing and takes no room.
    EXPECT_EQ(Extent(f, L"x"), Measure(L"x<i file='" + (dir / L"none.png") + L"'>").right);
}

// Single-line text placed as a whole (centred, right or bottom aligned) must
// land exactly where measuring it first in unlimited room and drawing it
// unaligned at the placed rectangle puts it: pixels and link rectangles,
// also where the line is cut, broken or moved past what fits.
TEST_F(MarkupTest, PlacedSingleLineMatchesMeasureThenDraw) {
    TempDir dir(L"mk");
    const std::wstring strip = dir / L"strip.png";
    ASSERT_TRUE(WriteFileBytes(strip, EncodePng(ArgbImage(12, 30, 0xFF0000FF))));
    const int word = Extent(Styled(false, true, false), L"abcdefgh");
    const UINT kAlign = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM;
    struct Case {
        std::wstring text;
        UINT style;
        RECT rc;
    };
    const Case cases[] = {
        {L"plain", DT_VCENTER, {3, 2, 150, 40}},
        {L"<b>bold</b> and <c #FF0000>red</c>", DT_CENTER | DT_VCENTER, {0, 0, 190, 50}},
        {L"see <a home>link</a> <a two>tail</a>", DT_RIGHT | DT_BOTTOM, {5, 3, 180, 45}},
        {L"<i>slanted</i> text", DT_CENTER, {0, 4, 150, 30}},
        {L"a<i file='" + strip + L"'>b", DT_CENTER | DT_VCENTER, {0, 0, 100, 60}},
        {L"<y 36>tall line", DT_VCENTER, {0, 0, 120, 60}},
        {L"", DT_CENTER | DT_VCENTER, {0, 0, 50, 30}},
        // Cut with an ellipsis, broken by a line feed, and a line whose pen
        // comes back (<x -30>) so that centring it moves the word past the
        // right edge.
        {L"<a e>a long text that will not fit</a>",
         DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS,
         {0, 0, 80, 30}},
        {L"line\n", DT_VCENTER, {0, 0, 120, 50}},
        {L"<a w>abcdefgh</a><x -30>", DT_CENTER | DT_VCENTER, {0, 0, word + 2, 30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("text " + ToUtf8(c.text));
        const UINT style = kSingle | c.style;
        DibSurface drawn(200, 64, 0xFFFFFFFF), expected(200, 64, 0xFFFFFFFF);
        RECT links[3] = {}, expectedLinks[3] = {};
        CUIString names[3], expectedNames[3];
        int count = 3, expectedCount = 3;
        RECT rc = c.rc;
        CRendererUI::DrawMarkupText(drawn.DC(), &manager_, rc, c.text.c_str(), 0xFF000000, links,
                                    names, count, style);

        const RECT measured = Measure(c.text, style);
        RECT placed = c.rc;
        const int width = c.rc.right - c.rc.left;
        const int height = c.rc.bottom - c.rc.top;
        if ((style & DT_CENTER) != 0) {
            placed.left += width / 2 - measured.right / 2;
        } else if ((style & DT_RIGHT) != 0) {
            placed.left = placed.right - measured.right;
        }
        if ((style & DT_VCENTER) != 0) {
            placed.top += height / 2 - measured.bottom / 2;
        } else if ((style & DT_BOTTOM) != 0) {
            placed.top = placed.bottom - measured.bottom;
        }
        const HRGN clip = ::CreateRectRgnIndirect(&c.rc);
        ::SelectClipRgn(expected.DC(), clip);
        ::DeleteObject(clip);
        CRendererUI::DrawMarkupText(expected.DC(), &manager_, placed, c.text.c_str(), 0xFF000000,
                                    expectedLinks, expectedNames, expectedCount, style & ~kAlign);

        EXPECT_TRUE(SamePixels(drawn, expected, drawn.Rect()));
        ASSERT_EQ(expectedCount, count);
        for (int i = 0; i < count; ++i) {
            EXPECT_TRUE(::EqualRect(&expectedLinks[i], &links[i])) << "link " << i;
            EXPECT_EQ(std::wstring(expectedNames[i].GetData()), names[i].GetData());
        }
    }
}

TEST_F(MarkupTest, RandomMarkupNeverHangsOrCrashes) {
    std::mt19937 random(12345);
    const std::wstring alphabet = L"<>{}/abcfinprsuxy #0123456789 \n'=ABZ";
    DibSurface surface(120, 60, 0xFFFFFFFF);
    const UINT styles[] = {0,
                           DT_SINGLELINE,
                           DT_WORDBREAK,
                           DT_END_ELLIPSIS,
                           DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                           DT_RIGHT | DT_BOTTOM | DT_WORDBREAK,
                           DT_CALCRECT | DT_WORDBREAK};
    for (int i = 0; i < 1500; ++i) {
        std::wstring text;
        const int length = static_cast<int>(random() % 80);
        for (int k = 0; k < length; ++k) {
            text.push_back(alphabet[random() % alphabet.size()]);
        }
        RECT links[3] = {};
        CUIString names[3];
        int count = 3;
        RECT rc = {static_cast<LONG>(random() % 20), static_cast<LONG>(random() % 20),
                   static_cast<LONG>(random() % 120), static_cast<LONG>(random() % 60)};
        if (::IsRectEmpty(&rc)) {
            rc = {0, 0, 1 + static_cast<LONG>(random() % 40), 60};
        }
        CRendererUI::DrawMarkupText(surface.DC(), &manager_, rc, text.c_str(), 0xFF000000, links,
                                    names, count, styles[i % 7]);
        ASSERT_GE(count, 0);
        ASSERT_LE(count, 3);
    }
}

} // namespace
