#include <windows.h>

#include "ui/RendererUI.h"
#include "ui/WindowManagerUI.h"
#include "tests/support/FileUtil.h"
#include "tests/support/ImageFiles.h"
#include "tests/support/TempDir.h"
#include "tests/ui/RendererTestUtil.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

using namespace SkinUI;
using namespace TestSupport;
using namespace RendererTest;

namespace {

struct ImageDeleter {
    void operator()(TImageRecordUI* image) const { CRendererUI::FreeImage(image); }
};
typedef std::unique_ptr<TImageRecordUI, ImageDeleter> ImagePtr;

ImagePtr Load(const std::wstring& path, DWORD mask = 0) {
    return ImagePtr(CRendererUI::LoadImage(path.c_str(), nullptr, mask));
}

// A PNG that declares the given size but holds no image data: enough for a
// decoder to read its header.
std::string PngHeaderOnly(uint32_t width, uint32_t height) {
    std::string png("\x89PNG\r\n\x1a\n", 8);
    const auto be32 = [&png](uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            png.push_back(static_cast<char>((v >> shift) & 0xFF));
        }
    };
    be32(13);
    png += "IHDR";
    be32(width);
    be32(height);
    png += std::string("\x08\x06\x00\x00\x00", 5); // 8-bit RGBA
    be32(0);                                       // CRC (not checked)
    be32(0);
    png += "IEND";
    be32(0);
    return png;
}

class LoadImageTest : public ::testing::Test {
protected:
    std::wstring Write(const std::wstring& name, const std::string& bytes) {
        const std::wstring path = dir_ / name;
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return path;
    }

    TempDir dir_{L"rend"};
};

TEST_F(LoadImageTest, PngIsDecodedIntoPremultipliedTopDownPixels) {
    ArgbImage image(3, 2);
    image.At(0, 0) = 0xFFFF0000; // opaque red
    image.At(1, 0) = 0x80FF0000; // half red
    image.At(2, 0) = 0x00FFFFFF; // transparent white
    image.At(0, 1) = 0xFF00FF00;
    image.At(1, 1) = 0x40204080;
    image.At(2, 1) = 0xFF0000FF;
    ImagePtr loaded = Load(Write(L"a.png", EncodePng(image)));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(3, loaded->nX);
    EXPECT_EQ(2, loaded->nY);
    EXPECT_TRUE(loaded->alphaChannel);
    int w = 0, h = 0;
    const std::vector<uint32_t> pixels = BitmapPixels(loaded->hBitmap, &w, &h);
    ASSERT_EQ(6u, pixels.size());
    EXPECT_EQ(3, w);
    EXPECT_EQ(2, h); // a positive height from GetObject; the rows are top-down below
    EXPECT_EQ(0xFFFF0000u, pixels[0]);
    EXPECT_EQ(0x80800000u, pixels[1]); // 255 * 128 / 255
    EXPECT_EQ(0x00000000u, pixels[2]);
    EXPECT_EQ(0xFF00FF00u, pixels[3]);
    EXPECT_EQ((0x40u << 24) | ((0x20u * 0x40 / 255) << 16) | ((0x40u * 0x40 / 255) << 8) |
                  (0x80u * 0x40 / 255),
              pixels[4]);
    EXPECT_EQ(0xFF0000FFu, pixels[5]);
}

TEST_F(LoadImageTest, MaskColourMakesMatchingPixelsEmptyAndSetsAlphaFlag) {
    ArgbImage image(2, 1);
    image.At(0, 0) = 0xFFFF00FF; // opaque magenta
    image.At(1, 0) = 0xFF00FF00;
    ImagePtr loaded = Load(Write(L"m.png", EncodePng(image)), 0xFFFF00FF);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->alphaChannel);
    const std::vector<uint32_t> pixels = BitmapPixels(loaded->hBitmap);
    EXPECT_EQ(0u, pixels[0]);
    EXPECT_EQ(0xFF00FF00u, pixels[1]);
}

TEST_F(LoadImageTest, TypedResourceIsLoadedById) {
    ImagePtr loaded(CRendererUI::LoadImage(MAKEINTRESOURCEW(7), L"IMGRES"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(2, loaded->nX);
    const std::vector<uint32_t> pixels = BitmapPixels(loaded->hBitmap);
    ASSERT_EQ(4u, pixels.size());
    EXPECT_EQ(0xFFFF0000u, pixels[0]);
    EXPECT_EQ(0xFF00FF00u, pixels[1]);
    EXPECT_EQ(0xFF0000FFu, pixels[2]);
    EXPECT_EQ(0xFFFFFFFFu, pixels[3]);

    // The manager's cache reads the id from the name's leading digits.
    CWindowManagerUI manager;
    TImageRecordUI* cached = manager.GetImageOrAdd(L"7.bmp", L"IMGRES");
    ASSERT_NE(nullptr, cached);
    EXPECT_EQ(2, cached->nY);
    EXPECT_EQ(cached, manager.GetImageOrAdd(L"7.bmp", L"IMGRES"));
}

TEST_F(LoadImageTest, MissingSourcesGiveNull) {
    EXPECT_FALSE(CRendererUI::LoadImage(MAKEINTRESOURCEW(8), L"IMGRES"));
    EXPECT_FALSE(CRendererUI::LoadImage(MAKEINTRESOURCEW(7), nullptr));
    EXPECT_FALSE(Load(dir_ / L"none.png"));
    EXPECT_FALSE(CRendererUI::LoadImage(L""));
    EXPECT_FALSE(CRendererUI::LoadImage(nullptr));
    CRendererUI::FreeImage(nullptr); // harmless
}

// Damaged files and sizes that would need hundreds of megabytes once decoded
// (refused before decoding) give no image.
TEST_F(LoadImageTest, DamagedAndHugeImagesFailQuietly) {
    const std::string png = EncodePng(ArgbImage(16, 16, 0xFF00FF00));
    const struct {
        const wchar_t* name;
        std::string bytes;
    } cases[] = {
        {L"empty.png", ""},
        {L"text.png", "this is no image at all"},
        {L"half.png", png.substr(0, png.size() / 2)},
        {L"sig.png", png.substr(0, 8)},
        {L"wide.png", PngHeaderOnly(kMaxImageSide + 1, 1)},
        {L"tall.png", PngHeaderOnly(1, 100000)},
        {L"area.png", PngHeaderOnly(8000, 8000)},
        {L"max.png", PngHeaderOnly(0xFFFFFFFFu, 0xFFFFFFFFu)},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(Load(Write(c.name, c.bytes))) << TestSupport::ToUtf8(c.name);
    }
}

TEST_F(LoadImageTest, LargestAllowedSideStillLoads) {
    ArgbImage image(kMaxImageSide, 1, 0xFF123456);
    ImagePtr loaded = Load(Write(L"edge.png", EncodePng(image)));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(kMaxImageSide, loaded->nX);
}

TEST_F(LoadImageTest, OversizedFileIsNotRead) {
    // A valid image followed by padding past the size bound.
    ArgbImage image(2, 2, 0xFF00FF00);
    std::string bytes = EncodePng(image);
    bytes.resize(static_cast<size_t>(CWindowManagerUI::MAX_IMAGE_FILE_SIZE) + 1, '\0');
    EXPECT_FALSE(Load(Write(L"big.png", bytes)));
    bytes.resize(static_cast<size_t>(CWindowManagerUI::MAX_IMAGE_FILE_SIZE));
    EXPECT_TRUE(Load(Write(L"limit.png", bytes)));
}

TEST_F(LoadImageTest, FailedLoadIsNotCachedAndCacheKeepsOneRecordPerName) {
    CWindowManagerUI manager;
    EXPECT_EQ(nullptr, manager.GetImageOrAdd((dir_ / L"later.png").c_str()));
    ArgbImage image(1, 1, 0xFF0000FF);
    const std::wstring path = Write(L"later.png", EncodePng(image));
    TImageRecordUI* first = manager.GetImageOrAdd(path.c_str());
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, manager.GetImageOrAdd(path.c_str()));
}

} // namespace
