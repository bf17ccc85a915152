// Extraction speed of the framework's zip reader against zlib's own inflate
// with crc32 over the same data (the reader checks every CRC-32 too):
// several megabytes of skin-like text in a few entries, read from an archive
// held in memory; checks of the output stay outside the timing. Then the
// cost of looking entries up by name as the archive grows.
#include <windows.h>

#include "bench/BenchClock.h"
#include "ui/ZipArchive.h"
#include "tests/support/ZipWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
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

// Inflates every entry's raw deflate data with zlib alone (and checks the
// CRC-32 as a reader must, when asked to).
bool InflateWithZlib(const ZipImage& image, const std::vector<Entry>& entries,
                     std::vector<char>& buffer, bool withCrc) {
    for (size_t i = 0; i < entries.size(); ++i) {
        const uint32_t compressed =
            image.Get32(image.centralHeaders[i] + ZipField::kCentralCompressed);
        z_stream zs = {};
        if (inflateInit2(&zs, -MAX_WBITS) != Z_OK)
            return false;
        zs.next_in =
            reinterpret_cast<Bytef*>(const_cast<char*>(image.bytes.data()) + image.dataStarts[i]);
        zs.avail_in = compressed;
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
    std::vector<char> buffer(2 * 1024 * 1024 + 16);
    std::vector<std::vector<char>> buffers(entries.size(), buffer);

    const int rounds = 15;
    if (!ExtractWithReader(image, entries, buffers) || !SameAsEntries(entries, buffers) ||
        !InflateWithZlib(image, entries, buffer, true)) {
        printf("extraction failed\n");
        return 1;
    }
    // The three sides take turns, and each keeps its best round, so that a
    // busy machine slows them alike.
    double readerSeconds = 1e9, zlibSeconds = 1e9, zlibCrcSeconds = 1e9;
    bool ok = true;
    for (int i = 0; i < rounds; ++i) {
        double start = BenchSeconds();
        ok = ExtractWithReader(image, entries, buffers) && ok;
        readerSeconds = std::min(readerSeconds, BenchSeconds() - start);
        start = BenchSeconds();
        InflateWithZlib(image, entries, buffer, false);
        zlibSeconds = std::min(zlibSeconds, BenchSeconds() - start);
        start = BenchSeconds();
        InflateWithZlib(image, entries, buffer, true);
        zlibCrcSeconds = std::min(zlibCrcSeconds, BenchSeconds() - start);
    }
    if (!ok || !SameAsEntries(entries, buffers)) {
        printf("extraction failed\n");
        return 1;
    }
    const double megabytes = static_cast<double>(total) / (1024.0 * 1024.0);
    printf("archive: %u entries, %.1f MB of data, %.2f MB compressed, best of %d rounds\n",
           static_cast<unsigned>(entries.size()), total / (1024.0 * 1024.0),
           image.bytes.size() / (1024.0 * 1024.0), rounds);
    printf("zip reader (memory, one call per entry): %8.1f MB/s\n", megabytes / readerSeconds);
    printf("zlib inflate alone:                      %8.1f MB/s\n", megabytes / zlibSeconds);
    printf("zlib inflate + crc32:                    %8.1f MB/s\n", megabytes / zlibCrcSeconds);
    printf("speed, reader / (zlib + crc32):          %8.2f\n", zlibCrcSeconds / readerSeconds);
    printf("speed, reader / zlib alone:              %8.2f\n", zlibSeconds / readerSeconds);

    const double small = LookUpSeconds(300);
    const double large = LookUpSeconds(3000);
    printf("look-up by name: %.2f us per entry at 300 entries, %.2f us at 3000 (ratio %.2f, "
           "1.0 is linear growth of the whole)\n",
           small * 1e6, large * 1e6, large / small);
    return small > 0 && large > 0 ? 0 : 1;
}
