#include <windows.h>

#include "ui/RendererUI.h"
#include "ui/WindowManagerUI.h"
#include "tests/support/FileUtil.h"
#include "tests/support/ImageFiles.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipWriter.h"
#include "tests/ui/RendererTestUtil.h"

#include <gtest/gtest.h>

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

ArgbImage Solid(uint32_t argb) {
    return ArgbImage(3, 3, argb);
}

// The skin archive of this program: set once, kept for the process, as the
// application does with its embedded skin.
const std::string& SkinArchive() {
    static const std::string bytes = [] {
        ZipWriter writer;
        writer.AddFile("bk.png", EncodePng(Solid(0xFF112233)))
            .AddFile("img/Button.PNG", EncodePng(Solid(0x80FF0000)))
            .AddFile("stored.bmp", EncodeBmp(Solid(0xFF445566)), ZipWriter::kStored)
            .AddFile("empty.png", "")
            .AddFile("garbage.png", "no image here");
        // An entry that claims to unpack to far more than any image may be.
        ZipItem huge;
        huge.name = "huge.png";
        huge.data = EncodePng(Solid(0xFF000000));
        huge.uncompressedSize = 0x7FFFFFF0u;
        writer.Add(huge);
        ZipItem large;
        large.name = "large.png";
        large.data = EncodePng(Solid(0xFF000000));
        large.uncompressedSize = CWindowManagerUI::MAX_IMAGE_FILE_SIZE + 1u;
        writer.Add(large);
        return writer.Bytes();
    }();
    return bytes;
}

class ZipImageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::string& bytes = SkinArchive();
        ASSERT_NE(nullptr, CWindowManagerUI::SetResourceZip(const_cast<char*>(bytes.data()),
                                                            static_cast<unsigned>(bytes.size())));
    }
};

TEST_F(ZipImageTest, ItemsAreReadFromTheArchiveInMemory) {
    ImagePtr bk(CRendererUI::LoadImage(L"bk.png"));
    ASSERT_TRUE(bk);
    EXPECT_FALSE(bk->alphaChannel);
    EXPECT_EQ(0xFF112233u, BitmapPixels(bk->hBitmap)[0]);

    ImagePtr stored(CRendererUI::LoadImage(L"stored.bmp"));
    ASSERT_TRUE(stored);
    EXPECT_EQ(0xFF445566u, BitmapPixels(stored->hBitmap)[4]);
}

TEST_F(ZipImageTest, ItemNamesIgnoreCaseAndBackslashes) {
    ImagePtr button(CRendererUI::LoadImage(L"IMG\\button.png"));
    ASSERT_TRUE(button);
    EXPECT_TRUE(button->alphaChannel);
    EXPECT_EQ(0x80800000u, BitmapPixels(button->hBitmap)[0]);
}

TEST_F(ZipImageTest, EmptyOrUndecodableItemsGiveNull) {
    EXPECT_FALSE(CRendererUI::LoadImage(L"empty.png"));
    EXPECT_FALSE(CRendererUI::LoadImage(L"garbage.png"));
    EXPECT_FALSE(CRendererUI::LoadImage(L"missing.png"));
}

TEST_F(ZipImageTest, ItemsClaimingHugeSizesAreRefusedQuietly) {
    EXPECT_FALSE(CRendererUI::LoadImage(L"huge.png"));
    EXPECT_FALSE(CRendererUI::LoadImage(L"large.png"));
}

TEST_F(ZipImageTest, MissingItemFallsBackToAPlainPath) {
    TempDir dir(L"rz");
    const std::wstring path = dir / L"outside.png";
    ASSERT_TRUE(WriteFileBytes(path, EncodePng(Solid(0xFF0A0B0C))));
    ImagePtr outside(CRendererUI::LoadImage(path.c_str()));
    ASSERT_TRUE(outside);
    EXPECT_EQ(0xFF0A0B0Cu, BitmapPixels(outside->hBitmap)[0]);
}

TEST_F(ZipImageTest, DescriptionWithUndecodableImageReportsFailure) {
    CWindowManagerUI manager;
    DibSurface surface(8, 8, 0xFFFFFFFF);
    const RECT rc = surface.Rect();
    EXPECT_TRUE(CRendererUI::DrawImageDescription(surface.DC(), &manager, rc, rc, L"bk.png"));
    EXPECT_TRUE(AreaIs(surface, rc, 0x112233));
    EXPECT_FALSE(
        CRendererUI::DrawImageDescription(surface.DC(), &manager, rc, rc, L"file='huge.png'"));
}

} // namespace
