// Extraction speed of the framework's zip reader against zlib's own inflate
// with crc32 over the same data (the reader checks every CRC-32 too):
// several megabytes of skin-like text in a few entries, read from an archive
// held in memory into the same output buffers on both sides; checks of the
// output stay outside the timing. The sides take turns and the figures are
// medians of many rounds. Then the cost of looking entries up by name as the
// archive grows.
#include <windows.h>

#include "bench/BenchClock.h"
#include "bench/BenchStats.h"
#include "ui/ZipArchive.h"
#include "tests/support/ZipWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace SkinUI;
using namespace TestSupport;

namespace {

struct Entry {
    std::wstring name;
    std::string data;
};

// Extracts every entry with the reader (which checks each CRC-32) into its
// own buffer; the contents are compared after the timing.
bool ExtractWithReader(const ZipImage& image, const std::vector<Entry>& entries,
                       std::vector<std::vector<char>>& buffers) {
    ZipHandle zip = ZipArchiveOpen(image.Data(), image.Size(), ZIP_MEMORY);
    if (!zip)
        return false;
    bool ok = true;
    for (size_t i = 0; ok && i < entries.size(); ++i) {
        int index = -1;
        ZipEntry info;
        ok = ZipArchiveFindItem(zip, entries[i].name.c_str(), false, index, info) == ZR_OK;
        const unsigned size = static_cast<unsigned>(info.uncompressedSize);
        int r = ok ? ZipArchiveUnzipItem(zip, index, buffers[i].data(), size, ZIP_MEMORY) : ZR_ARGS;
        if (r == ZR_MORE)
            r = ZipArchiveUnzipItem(zip, index, buffers[i].data() + size, 1, ZIP_MEMORY);
        ok = ok && r == ZR_OK;
    }
    ZipArchiveClose(zip);
    return ok;
}

bool SameAsEntries(const std::vector<Entry>& entries,
                   const std::vector<std::vector<char>>& buffers) {
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].data.compare(0, entries[i].data.size(), buffers[i].data(),
                                    entries[i].data.size()) != 0)
            return false;
    }
    return true;
}

// Inflates every entry's raw deflate data with zlib alone into the buffers
// the reader fills (and checks the CRC-32 as a reader must, when asked to).
bool InflateWithZlib(const ZipImage& image, const std::vector<Entry>& entries,
                     std::vector<std::vector<char>>& buffers, bool withCrc) {
    for (size_t i = 0; i < entries.size(); ++i) {
        const uint32_t compressed =
            image.Get32(image.centralHeaders[i] + ZipField::kCentralCompressed);
        z_stream zs = {};
        if (inflateInit2(&zs, -MAX_WBITS) != Z_OK)
            return false;
        zs.next_in =
            reinterpret_cast<Bytef*>(const_cast<char*>(image.bytes.data()) + image.dataStarts[i]);
        zs.avail_in = compressed;
        std::vector<char>& buffer = buffers[i];
        zs.next_out = reinterpret_cast<Bytef*>(buffer.data());
        zs.avail_out = static_cast<uInt>(buffer.size());
        const int r = inflate(&zs, Z_FINISH);
        const uLong produced = zs.total_out;
        inflateEnd(&zs);
        if (r != Z_STREAM_END || produced != entries[i].data.size())
            return false;
        if (withCrc) {
            const uint32_t crc = image.Get32(image.centralHeaders[i] + ZipField::kCentralCrc);
            if (crc32(0, reinterpret_cast<const Bytef*>(buffer.data()), produced) != crc)
                return false;
        }
    }
    return true;
}

// Looks every entry of an archive of count small entries up by name; the
// seconds per look-up, which must not grow with the archive.
double LookUpSeconds(int count) {
    ZipWriter writer;
    std::vector<std::wstring> names;
    for (int i = 0; i < count; ++i) {
        writer.AddFile("skin/images/item" + std::to_string(i) + ".png", "x", ZipWriter::kStored);
        names.push_back(L"skin/images/item" + std::to_wstring(i) + L".png");
    }
    const ZipImage image = writer.Build();
    ZipHandle zip = ZipArchiveOpen(image.Data(), image.Size(), ZIP_MEMORY);
    double best = 1e9;
    int found = 0;
    for (int round = 0; round < 5; ++round) {
        const double start = BenchSeconds();
        found = 0;
        for (const std::wstring& name : names) {
            int index = -1;
            ZipEntry info;
            found += ZipArchiveFindItem(zip, name.c_str(), true, index, info) == ZR_OK;
        }
        best = std::min(best, BenchSeconds() - start);
    }
    ZipArchiveClose(zip);
    return found == count ? best / count : -1.0;
}

} // namespace

int main() {
    std::vector<Entry> entries;
    ZipWriter writer;
    size_t total = 0;
    for (int i = 0; i < 4; ++i) {
        Entry e;
        e.name = L"skin/page" + std::to_wstring(i) + L".xml";
        e.data = SampleText(2 * 1024 * 1024, 100 + i);
        writer.AddFile("skin/page" + std::to_string(i) + ".xml", e.data);
        total += e.data.size();
        entries.push_back(std::move(e));
    }
    const ZipImage image = writer.Build();
    std::vector<std::vector<char>> buffers(entries.size(), std::vector<char>(2 * 1024 * 1024 + 16));

    const int rounds = 31;
    if (!ExtractWithReader(image, entries, buffers) || !SameAsEntries(entries, buffers) ||
        !InflateWithZlib(image, entries, buffers, true) || !SameAsEntries(entries, buffers)) {
        printf("extraction failed\n");
        return 1;
    }
    // One core; the three sides take turns within each round, the one that
    // goes first changing every round, and the speed ratios are taken per
    // round, so that a busy machine slows the sides alike.
    PinToOneCore();
    const std::function<bool()> sides[] = {
        [&] { return ExtractWithReader(image, entries, buffers); },
        [&] { return InflateWithZlib(image, entries, buffers, false); },
        [&] { return InflateWithZlib(image, entries, buffers, true); }};
    std::vector<double> seconds[3];
    bool ok = true;
    for (int i = 0; i < rounds; ++i) {
        for (int k = 0; k < 3; ++k) {
            const int side = (i + k) % 3;
            const double start = BenchSeconds();
            ok = sides[side]() && ok;
            seconds[side].push_back(BenchSeconds() - start);
        }
    }
    if (!ok || !ExtractWithReader(image, entries, buffers) || !SameAsEntries(entries, buffers)) {
        printf("extraction failed\n");
        return 1;
    }
    std::vector<double> versusCrc, versusAlone;
    for (int i = 0; i < rounds; ++i) {
        versusCrc.push_back(seconds[2][i] / seconds[0][i]);
        versusAlone.push_back(seconds[1][i] / seconds[0][i]);
    }
    const double megabytes = static_cast<double>(total) / (1024.0 * 1024.0);
    printf("archive: %u entries, %.1f MB of data, %.2f MB compressed, medians of %d rounds\n",
           static_cast<unsigned>(entries.size()), megabytes, image.bytes.size() / (1024.0 * 1024.0),
           rounds);
    printf("zip reader (memory, one call per entry): %8.1f MB/s\n", megabytes / Median(seconds[0]));
    printf("zlib inflate alone:                      %8.1f MB/s\n", megabytes / Median(seconds[1]));
    printf("zlib inflate + crc32:                    %8.1f MB/s\n", megabytes / Median(seconds[2]));
    printf("speed, reader / (zlib + crc32):          %8.2f (target at least 1.0)\n",
           Median(versusCrc));
    printf("speed, reader / zlib alone:              %8.2f\n", Median(versusAlone));

    const double small = LookUpSeconds(300);
    const double large = LookUpSeconds(3000);
    printf("look-up by name: %.2f us per entry at 300 entries, %.2f us at 3000 (ratio %.2f, "
           "1.0 is linear growth of the whole)\n",
           small * 1e6, large * 1e6, large / small);
    return small > 0 && large > 0 ? 0 : 1;
}
