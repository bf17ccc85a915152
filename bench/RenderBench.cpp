#include <windows.h>

#include "bench/BenchClock.h"
#include "ui/RendererUI.h"
#include "ui/WindowManagerUI.h"
#include "tests/support/ImageFiles.h"
#include "tests/support/ZipWriter.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace SkinUI;
using TestSupport::ArgbImage;

namespace {

// Smooth colour ramps with an alpha rim: compresses like real skin art.
ArgbImage MakeArt(int width, int height, bool alpha, uint32_t seed) {
    ArgbImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t r = (x * 255 / std::max(width - 1, 1) + seed * 40) & 0xFF;
            const uint32_t g = (y * 255 / std::max(height - 1, 1) + seed * 70) & 0xFF;
            const uint32_t b = ((x + y) * 3 + seed * 20) & 0xFF;
            uint32_t a = 255;
            if (alpha) {
                const int edge = std::min(std::min(x, y), std::min(width - 1 - x, height - 1 - y));
                a = edge >= 4 ? 255 : static_cast<uint32_t>(64 * edge);
            }
            image.At(x, y) = a << 24 | r << 16 | g << 8 | b;
        }
    }
    return image;
}

struct SkinImage {
    const char* name;
    int width;
    int height;
    bool alpha;
};

const SkinImage kImages[] = {
    {"bg.png", 800, 495, false},     {"btn.png", 360, 36, true},      {"close.png", 96, 24, true},
    {"tile.png", 32, 32, false},     {"icon16.png", 16, 16, true},    {"icon48.png", 48, 48, true},
    {"progress.png", 400, 12, true}, {"banner.png", 1024, 256, true},
};

void Report(const char* what, int count, double seconds, const char* unit = "op") {
    std::printf("  %-44s %8.1f us/%s  (%d in %.3f s)\n", what, seconds * 1e6 / count, unit, count,
                seconds);
}

void Time(const char* what, int count, const std::function<void()>& body) {
    body(); // warm caches
    const double start = BenchSeconds();
    for (int i = 0; i < count; ++i) {
        body();
    }
    Report(what, count, BenchSeconds() - start);
}

} // namespace

int main() {
    // The skin archive, as the application embeds it.
    TestSupport::ZipWriter writer;
    size_t encodedBytes = 0;
    long long pixels = 0;
    for (size_t i = 0; i < sizeof(kImages) / sizeof(kImages[0]); ++i) {
        const SkinImage& s = kImages[i];
        const std::string png =
            TestSupport::EncodePng(MakeArt(s.width, s.height, s.alpha, static_cast<uint32_t>(i)));
        encodedBytes += png.size();
        pixels += static_cast<long long>(s.width) * s.height;
        writer.AddFile(s.name, png, TestSupport::ZipWriter::kStored);
    }
    static std::string archive;
    archive = writer.Bytes();
    CWindowManagerUI::SetResourceZip(&archive[0], static_cast<unsigned>(archive.size()));
    std::printf("RenderBench: %zu skin images, %zu PNG bytes, %lld pixels\n",
                sizeof(kImages) / sizeof(kImages[0]), encodedBytes, pixels);

    // Decoding: every image of the set, from the archive in memory.
    const int rounds = 20;
    const double decodeStart = BenchSeconds();
    for (int r = 0; r < rounds; ++r) {
        for (const SkinImage& s : kImages) {
            TImageRecordUI* image =
                CRendererUI::LoadImage(std::wstring(s.name, s.name + strlen(s.name)).c_str());
            if (image == nullptr) {
                std::printf("decode failed: %s\n", s.name);
                return 1;
            }
            CRendererUI::FreeImage(image);
        }
    }
    const double decodeSeconds = BenchSeconds() - decodeStart;
    std::printf("decode (unzip + stb_image + premultiply + DIB)\n");
    Report("whole set", rounds, decodeSeconds, "set");
    std::printf("  %-44s %8.1f Mpixel/s\n", "throughput",
                static_cast<double>(pixels) * rounds / decodeSeconds / 1e6);
    for (const SkinImage& s : kImages) {
        const std::wstring name(s.name, s.name + strlen(s.name));
        char label[64];
        std::snprintf(label, sizeof label, "%s %dx%d%s", s.name, s.width, s.height,
                      s.alpha ? " alpha" : "");
        Time(label, 10, [&] { CRendererUI::FreeImage(CRendererUI::LoadImage(name.c_str())); });
    }

    // Drawing into an 800 x 495 32-bit DIB, as a window's off-screen bitmap.
    CWindowManagerUI manager;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 800;
    info.bmiHeader.biHeight = -495;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP target = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(dc, target);
    const RECT all = {0, 0, 800, 495};
    const RECT button = {100, 100, 300, 140};
    std::printf("draw into 800x495\n");
    Time("background, same size (BitBlt)", 200,
         [&] { CRendererUI::DrawImageDescription(dc, &manager, all, all, L"bg.png"); });
    Time("background stretched into a 400x300 item", 200, [&] {
        CRendererUI::DrawImageDescription(dc, &manager, {0, 0, 400, 300}, all, L"bg.png");
    });
    Time("button nine-grid 200x40, alpha, source part", 2000, [&] {
        CRendererUI::DrawImageDescription(dc, &manager, button, all,
                                          L"file='btn.png' source='120,0,240,36' corner='6,6,6,6'");
    });
    Time("button faded (fade 128)", 2000, [&] {
        CRendererUI::DrawImageDescription(dc, &manager, button, all,
                                          L"file='btn.png' source='0,0,120,36' corner='6,6,6,6' "
                                          L"fade='128'");
    });
    Time("32x32 tile, x and y tiled over the window", 100, [&] {
        CRendererUI::DrawImageDescription(dc, &manager, all, all,
                                          L"file='tile.png' xtiled='true' ytiled='true'");
    });
    Time("same, paint rectangle 100x100 only", 2000, [&] {
        CRendererUI::DrawImageDescription(dc, &manager, all, {300, 200, 400, 300},
                                          L"file='tile.png' xtiled='true' ytiled='true'");
    });
    Time("banner 1024x256 alpha into 800x200", 200, [&] {
        CRendererUI::DrawImageDescription(dc, &manager, {0, 0, 800, 200}, all, L"banner.png");
    });
    Time("colour fill opaque, whole window", 500,
         [&] { CRendererUI::DrawColor(dc, all, 0xFF336699); });
    Time("colour fill translucent, whole window", 200,
         [&] { CRendererUI::DrawColor(dc, all, 0x80FF0000); });
    Time("gradient 800x40 opaque", 500, [&] {
        CRendererUI::DrawGradient(dc, {0, 0, 800, 40}, 0xFF2B5797, 0xFF6FA0E0, true, 64);
    });
    Time("gradient 800x40 translucent", 500, [&] {
        CRendererUI::DrawGradient(dc, {0, 0, 800, 40}, 0x802B5797, 0x806FA0E0, true, 64);
    });
    Time("rect outline 2px", 2000, [&] { CRendererUI::DrawRect(dc, button, 2, 0xFF000000); });
    Time("plain text line", 2000, [&] {
        RECT rc = button;
        CRendererUI::DrawText(dc, &manager, rc, L"Uninstall the game", 0xFF000000, -1,
                              DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    });
    const wchar_t* markup = L"<b>Thank you</b> for playing. Read the <a faq>questions</a> or "
                            L"<c #FF0000>contact us</c> before you go; your saved games stay in "
                            L"your documents folder. <i icon16.png> Press <b>Next</b> to go on.";
    RECT links[4];
    CUIString names[4];
    Time("mark-up paragraph 400 wide, word break", 500, [&] {
        RECT rc = {20, 200, 420, 320};
        int count = 4;
        CRendererUI::DrawMarkupText(dc, &manager, rc, markup, 0xFF202020, links, names, count,
                                    DT_WORDBREAK);
    });
    Time("mark-up paragraph measured (DT_CALCRECT)", 500, [&] {
        RECT rc = {0, 0, 400, 9999};
        int count = 0;
        CRendererUI::DrawMarkupText(dc, &manager, rc, markup, 0xFF202020, nullptr, nullptr, count,
                                    DT_WORDBREAK | DT_CALCRECT);
    });

    ::SelectObject(dc, old);
    ::DeleteObject(target);
    ::DeleteDC(dc);
    return 0;
}
