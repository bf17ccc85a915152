#include <windows.h>

#include "ui/GdiBlend.h"
#include "ui/RendererUI.h"
#include "tests/ui/RendererTestUtil.h"

#include <gtest/gtest.h>

#include <random>

using namespace SkinUI;
using namespace TestSupport;
using namespace RendererTest;

namespace {

const RECT kNoCorners = {0, 0, 0, 0};

// Owns a test bitmap.
class Bitmap {
public:
    explicit Bitmap(const ArgbImage& image)
        : bitmap_(MakeBitmap(image)), w_(image.width), h_(image.height) {}
    ~Bitmap() { ::DeleteObject(bitmap_); }
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    HBITMAP Get() const { return bitmap_; }
    RECT Whole() const { return {0, 0, w_, h_}; }

private:
    HBITMAP bitmap_;
    int w_;
    int h_;
};

// 12 x 12 with 4-pixel regions of distinct colours.
ArgbImage NineGridImage(uint8_t alpha = 0xFF) {
    const uint32_t a = static_cast<uint32_t>(alpha) << 24;
    ArgbImage image(12, 12);
    image.FillRect(0, 0, 4, 4, a | 0xFF0000);   // top-left red
    image.FillRect(4, 0, 8, 4, a | 0x00FFFF);   // top cyan
    image.FillRect(8, 0, 12, 4, a | 0x00FF00);  // top-right green
    image.FillRect(0, 4, 4, 8, a | 0x808080);   // left grey
    image.FillRect(4, 4, 8, 8, a | 0xC0C0C0);   // middle silver
    image.FillRect(8, 4, 12, 8, a | 0xFF8000);  // right orange
    image.FillRect(0, 8, 4, 12, a | 0x0000FF);  // bottom-left blue
    image.FillRect(4, 8, 8, 12, a | 0xFF00FF);  // bottom magenta
    image.FillRect(8, 8, 12, 12, a | 0xFFFF00); // bottom-right yellow
    return image;
}

TEST(DrawImage, NineGridKeepsCornersAndStretchesEdges) {
    Bitmap bitmap(NineGridImage());
    DibSurface surface(40, 30, 0xFFFFFFFF);
    const RECT rc = surface.Rect();
    const RECT corners = {4, 4, 4, 4};
    CRendererUI::DrawImage(surface.DC(), bitmap.Get(), rc, rc, bitmap.Whole(), corners, false);
    EXPECT_TRUE(AreaIs(surface, {0, 0, 4, 4}, 0xFF0000));
    EXPECT_TRUE(AreaIs(surface, {36, 0, 40, 4}, 0x00FF00));
    EXPECT_TRUE(AreaIs(surface, {0, 26, 4, 30}, 0x0000FF));
    EXPECT_TRUE(AreaIs(surface, {36, 26, 40, 30}, 0xFFFF00));
    // Stretched pieces: away from their ends a filter cannot blur them.
    EXPECT_TRUE(AreaIs(surface, {6, 0, 34, 3}, 0x00FFFF));
    EXPECT_TRUE(AreaIs(surface, {6, 27, 34, 30}, 0xFF00FF));
    EXPECT_TRUE(AreaIs(surface, {0, 6, 3, 24}, 0x808080));
    EXPECT_TRUE(AreaIs(surface, {37, 6, 40, 24}, 0xFF8000));
    EXPECT_TRUE(AreaIs(surface, {6, 6, 34, 24}, 0xC0C0C0));
}

TEST(DrawImage, HoleLeavesTheMiddle) {
    Bitmap bitmap(NineGridImage());
    DibSurface surface(40, 30, 0xFF000000);
    const RECT rc = surface.Rect();
    CRendererUI::DrawImage(surface.DC(), bitmap.Get(), rc, rc, bitmap.Whole(), {4, 4, 4, 4}, false,
                           255, true);
    EXPECT_TRUE(AreaIs(surface, {4, 4, 36, 26}, 0x000000));
    EXPECT_TRUE(AreaIs(surface, {0, 0, 4, 4}, 0xFF0000));
    EXPECT_TRUE(AreaIs(surface, {6, 0, 34, 3}, 0x00FFFF));
}

// Same size as the destination, no corners, opaque: one copy, and only of
// the part inside the paint rectangle.
TEST(DrawImage, SameSizeOpaqueImageIsCopiedOnlyInsideThePaintRectangle) {
    ArgbImage image(8, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            image.At(x, y) = 0xFF000000u | (x * 30) << 16 | (y * 30) << 8;
        }
    }
    Bitmap bitmap(image);
    DibSurface surface(12, 12, 0xFFFFFFFF);
    const RECT dest = {2, 2, 10, 10};
    const RECT paint = {4, 5, 7, 20};
    CRendererUI::DrawImage(surface.DC(), bitmap.Get(), dest, paint, bitmap.Whole(), kNoCorners,
                           false);
    EXPECT_EQ(3 * 5, CountChanged(surface, surface.Rect(), 0xFFFFFF));
    for (int y = 5; y < 10; ++y) {
        for (int x = 4; x < 7; ++x) {
            EXPECT_EQ(image.At(x - 2, y - 2) & 0xFFFFFF, surface.Rgb(x, y)) << x << "," << y;
        }
    }
}

// 4 x 4 tile: first column red, first row green, the rest blue.
ArgbImage TileImage() {
    ArgbImage image(4, 4, 0xFF0000FF);
    image.FillRect(0, 0, 1, 4, 0xFFFF0000);
    image.FillRect(0, 0, 4, 1, 0xFF00FF00);
    return image;
}

TEST(DrawImage, XTiledRepeatsAndCutsTheLastTile) {
    Bitmap bitmap(TileImage());
    DibSurface surface(10, 4, 0xFFFFFFFF);
    const RECT rc = surface.Rect();
    CRendererUI::DrawImage(surface.DC(), bitmap.Get(), rc, rc, bitmap.Whole(), kNoCorners, false,
                           255, false, true, false);
    for (int x = 0; x < 10; ++x) {
        const uint32_t expected = x % 4 == 0 ? 0xFF0000 : 0x0000FF;
        EXPECT_TRUE(NearRgb(surface.Pixel(x, 2), expected)) << "x=" << x;
        EXPECT_TRUE(NearRgb(surface.Pixel(x, 0), x % 4 == 0 ? 0x00FF00 : 0x00FF00)) << x;
    }
}

TEST(DrawImage, TiledMiddleBetweenCorners) {
    // Corners 1: the middle source is the 2 x 2 block at (1,1) of a 4 x 4 image.
    ArgbImage image(4, 4, 0xFF000000);
    image.At(1, 1) = 0xFFFF0000;
    image.At(2, 1) = 0xFF00FF00;
    image.At(1, 2) = 0xFF0000FF;
    image.At(2, 2) = 0xFFFFFFFF;
    Bitmap bitmap(image);
    DibSurface surface(9, 9, 0xFF808080);
    const RECT rc = surface.Rect();
    CRendererUI::DrawImage(surface.DC(), bitmap.Get(), rc, rc, bitmap.Whole(), {1, 1, 1, 1}, false,
                           255, false, true, true);
    const uint32_t block[2][2] = {{0xFF0000, 0x00FF00}, {0x0000FF, 0xFFFFFF}};
    for (int y = 1; y < 8; ++y) {
        for (int x = 1; x < 8; ++x) {
            EXPECT_EQ(block[(y - 1) % 2][(x - 1) % 2], surface.Rgb(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(0x000000u, surface.Rgb(0, 0));
    EXPECT_EQ(0x000000u, surface.Rgb(8, 8));
}

TEST(DrawImage, EmptyAndNegativePiecesAreSkipped) {
    Bitmap bitmap(NineGridImage());
    DibSurface surface(20, 20, 0xFFFFFFFF);
    // Corners wider than the destination: the edges and the middle have
    // negative extents and must not be drawn mirrored.
    const RECT small = {5, 5, 11, 11};
    CRendererUI::DrawImage(surface.DC(), bitmap.Get(), small, surface.Rect(), bitmap.Whole(),
                           {4, 4, 4, 4}, false, 255, false, true, true);
    EXPECT_TRUE(AreaIs(surface, {5, 5, 7, 7}, 0xFF0000));
    EXPECT_TRUE(AreaIs(surface, {9, 5, 11, 7}, 0x00FF00));
    EXPECT_TRUE(AreaIs(surface, {5, 9, 7, 11}, 0x0000FF));
    EXPECT_TRUE(AreaIs(surface, {7, 7, 11, 11}, 0xFFFF00));
    EXPECT_EQ(36, CountChanged(surface, surface.Rect(), 0xFFFFFF));

    // Corners that cover the whole source: the tiled middle has no tile size.
    surface.Fill(0xFFFFFFFF);
    Bitmap tiny(ArgbImage(8, 8, 0xFF00FF00));
    CRendererUI::DrawImage(surface.DC(), tiny.Get(), surface.Rect(), surface.Rect(), tiny.Whole(),
                           {4, 4, 4, 4}, false, 255, false, true, true);
    EXPECT_TRUE(AreaIs(surface, {0, 0, 4, 4}, 0x00FF00));
    EXPECT_TRUE(AreaIs(surface, {6, 6, 14, 14}, 0xFFFFFF)); // middle not drawn

    // Empty rectangles and a null bitmap draw nothing.
    surface.Fill(0xFFFFFFFF);
    CRendererUI::DrawImage(surface.DC(), tiny.Get(), {5, 5, 5, 15}, surface.Rect(), tiny.Whole(),
                           kNoCorners, false);
    CRendererUI::DrawImage(surface.DC(), tiny.Get(), {5, 5, 15, 15}, surface.Rect(), {0, 0, 0, 0},
                           kNoCorners, true);
    CRendererUI::DrawImage(surface.DC(), nullptr, surface.Rect(), surface.Rect(), tiny.Whole(),
                           kNoCorners, false);
    EXPECT_EQ(0, CountChanged(surface, surface.Rect(), 0xFFFFFF));
}

// The software blend must agree with gdi32's AlphaBlend on premultiplied
// pixels, with and without stretching and constant alpha.
TEST(SoftwareBlend, MatchesAlphaBlend) {
    const GdiBlend::AlphaBlendFunc alphaBlend = GdiBlend::AlphaBlendFunction();
    ASSERT_NE(nullptr, alphaBlend);
    std::mt19937 random(7);
    ArgbImage source(16, 16);
    for (uint32_t& p : source.pixels) {
        p = random();
    }
    Bitmap bitmap(source); // premultiplied
    HDC sourceDC = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(sourceDC, bitmap.Get());
    struct Case {
        RECT dest;
        BYTE constant;
    } cases[] = {{{0, 0, 16, 16}, 255}, {{3, 2, 19, 18}, 200}, {{0, 0, 16, 16}, 60}};
    for (const Case& c : cases) {
        DibSurface reference(24, 24), software(24, 24);
        for (int y = 0; y < 24; ++y) {
            for (int x = 0; x < 24; ++x) {
                const uint32_t background = 0xFF000000u | (x * 10) << 16 | (y * 10) << 8 | 0x40;
                reference.SetPixel(x, y, background);
                software.SetPixel(x, y, background);
            }
        }
        const BLENDFUNCTION blend = {AC_SRC_OVER, 0, c.constant, AC_SRC_ALPHA};
        const int w = c.dest.right - c.dest.left, h = c.dest.bottom - c.dest.top;
        ASSERT_TRUE(alphaBlend(reference.DC(), c.dest.left, c.dest.top, w, h, sourceDC, 0, 0, 16,
                               16, blend));
        ASSERT_TRUE(SoftwareAlphaBlend(software.DC(), c.dest.left, c.dest.top, w, h, sourceDC, 0, 0,
                                       16, 16, blend));
        for (int y = 0; y < 24; ++y) {
            for (int x = 0; x < 24; ++x) {
                const uint32_t a = reference.Pixel(x, y), b = software.Pixel(x, y);
                EXPECT_LE(ChannelDistance(a, b), 2)
                    << x << "," << y << " constant " << int(c.constant);
                EXPECT_LE(std::abs(int(a >> 24) - int(b >> 24)), 2) << x << "," << y;
            }
        }
    }
    ::SelectObject(sourceDC, old);
    ::DeleteDC(sourceDC);
}

} // namespace
