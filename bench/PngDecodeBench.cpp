// Where PNG decoding spends its time: stb_image's whole decode against its
// own inflate alone and zlib's inflate of the same compressed pixel data,
// for the real skin images (flat art) and for the first-paint benchmark's
// soft patterns. Whether feeding stb_image zlib's output would pay shows
// here. Both inflaters do the same work: output into an uninitialised buffer
// of the expected size, the stream's header checked, its checksum not (stb
// does not check it). Sides interleaved, best of several rounds.
#include <windows.h>

#include "bench/BenchClock.h"

#include "tests/support/ImageFiles.h"

#include "stb_image.h"
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

const int kRounds = 15;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

unsigned ReadBe32(const unsigned char* p) {
    return (unsigned(p[0]) << 24) | (unsigned(p[1]) << 16) | (unsigned(p[2]) << 8) | p[3];
}

// The zlib stream of the image data, its chunks joined, and the size of the
// filtered rows it inflates to (8-bit, non-interlaced images only).
bool ImageData(const std::string& png, std::string& idat, size_t& raw) {
    const auto* p = reinterpret_cast<const unsigned char*>(png.data());
    size_t at = 8;
    int width = 0, height = 0, channels = 0;
    while (at + 12 <= png.size()) {
        const unsigned length = ReadBe32(p + at);
        const std::string type = png.substr(at + 4, 4);
        if (type == "IHDR") {
            width = static_cast<int>(ReadBe32(p + at + 8));
            height = static_cast<int>(ReadBe32(p + at + 12));
            const int colour = p[at + 17];
            channels = colour == 6 ? 4 : colour == 2 ? 3 : colour == 4 ? 2 : 1;
        } else if (type == "IDAT") {
            idat.append(png, at + 8, length);
        }
        at += 12 + length;
    }
    raw = static_cast<size_t>(height) * (static_cast<size_t>(width) * channels + 1);
    return !idat.empty();
}

double Best(const std::function<void()>& work) {
    const double start = BenchMilliseconds();
    work();
    return BenchMilliseconds() - start;
}

struct Side {
    const char* name;
    std::function<void(const std::string&, const std::string&, size_t)> run;
    double best = 1e30;
};

// The first-paint benchmark's images: soft colour patterns.
std::string PatternPng(int w, int h, unsigned seed, bool translucentEdge) {
    TestSupport::ArgbImage image(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t r = (x * 255 / w + seed * 40) & 0xFF;
            const uint32_t g = (y * 255 / h + seed * 90) & 0xFF;
            const uint32_t b = ((x + y) * 3 + seed * 7) & 0xFF;
            const bool edge = x < 3 || y < 3 || x >= w - 3 || y >= h - 3;
            const uint32_t a = translucentEdge && edge ? 128 : 255;
            image.At(x, y) = a << 24 | r << 16 | g << 8 | b;
        }
    }
    return TestSupport::EncodePng(image);
}

void RunSet(const char* title, const std::vector<std::string>& pngs);

// A zlib stream inflated as stb_image inflates it: the header is checked (compression method 8,
// no preset dictionary, the check bits), the deflate data inflated raw, the trailing checksum not
// read. Returns the inflated size.
size_t InflateLikeStb(const std::string& zlib, unsigned char* out, size_t capacity) {
    const auto* in = reinterpret_cast<const unsigned char*>(zlib.data());
    if (zlib.size() < 2 || (in[0] & 15) != 8 || (in[1] & 32) != 0 ||
        (in[0] * 256 + in[1]) % 31 != 0) {
        return 0;
    }
    z_stream stream = {};
    if (inflateInit2(&stream, -15) != Z_OK) {
        return 0;
    }
    stream.next_in = const_cast<Bytef*>(in + 2);
    stream.avail_in = static_cast<uInt>(zlib.size() - 2);
    stream.next_out = out;
    stream.avail_out = static_cast<uInt>(capacity);
    inflate(&stream, Z_FINISH);
    const size_t produced = stream.total_out;
    inflateEnd(&stream);
    return produced;
}

} // namespace

int main() {
    std::vector<std::string> pngs;
    const std::string folder = UNINST_SKIN_IMAGES;
    WIN32_FIND_DATAA found;
    const HANDLE search = ::FindFirstFileA((folder + "\\*.png").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            pngs.push_back(ReadFile(folder + "\\" + found.cFileName));
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    RunSet("real skin images", pngs);
    RunSet("first-paint patterns", {PatternPng(500, 400, 1, false), PatternPng(460, 180, 2, false),
                                    PatternPng(140, 40, 3, true)});
    return 0;
}

namespace {

void RunSet(const char* title, const std::vector<std::string>& pngs) {
    std::vector<std::string> idats(pngs.size());
    std::vector<size_t> raws(pngs.size());
    size_t bytes = 0, pixels = 0;
    for (size_t i = 0; i < pngs.size(); ++i) {
        if (!ImageData(pngs[i], idats[i], raws[i])) {
            std::printf("no image data in image %zu\n", i);
            return;
        }
        bytes += pngs[i].size();
        pixels += raws[i];
    }
    std::printf("%s: %zu images, %zu PNG bytes, %zu filtered bytes\n", title, pngs.size(), bytes,
                pixels);
    if (pngs.empty()) {
        return;
    }
    Side sides[] = {
        {"stb_image whole decode (stb inflate)",
         [](const std::string& png, const std::string&, size_t) {
             int w, h, c;
             stbi_uc* out = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(png.data()),
                                                  static_cast<int>(png.size()), &w, &h, &c, 4);
             stbi_image_free(out);
         }},
        {"  of it: stb's own inflate alone",
         [](const std::string&, const std::string& idat, size_t raw) {
             int length = 0;
             char* out = stbi_zlib_decode_malloc_guesssize_headerflag(
                 idat.data(), static_cast<int>(idat.size()), static_cast<int>(raw), &length, 1);
             stbi_image_free(out);
         }},
        {"zlib inflate of the same data",
         [](const std::string&, const std::string& idat, size_t raw) {
             // The same work as stb's inflate: an uninitialised buffer of the expected size,
             // the two-byte header checked, the Adler-32 checksum left unchecked.
             auto* out = static_cast<unsigned char*>(std::malloc(raw));
             InflateLikeStb(idat, out, raw);
             std::free(out);
         }},
    };
    for (int round = 0; round < kRounds; ++round) {
        for (Side& side : sides) {
            const double ms = Best([&] {
                for (size_t i = 0; i < pngs.size(); ++i) {
                    side.run(pngs[i], idats[i], raws[i]);
                }
            });
            side.best = std::min(side.best, ms);
        }
    }
    std::printf("best of %d rounds, all images once:\n", kRounds);
    for (const Side& side : sides) {
        std::printf("  %-44s %8.3f ms  (%.2f of stb's whole decode)\n", side.name, side.best,
                    side.best / sides[0].best);
    }
    std::printf("  ratio zlib / stb inflate, same work: %.2f\n", sides[2].best / sides[1].best);
}

} // namespace
