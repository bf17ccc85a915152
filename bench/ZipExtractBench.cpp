// Extraction speed of the framework's zip reader against zlib's own inflate
// over the same data: several megabytes of skin-like text in a few entries,
// read from an archive held in memory.
#include <windows.h>

#include "bench/BenchClock.h"
#include "ui/ZipArchive.h"
#include "tests/support/ZipWriter.h"

#include <zlib.h>

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

// Extracts every entry with the reader; false when something differs.
bool ExtractWithReader(const ZipImage& image, const std::vector<Entry>& entries,
                       std::vector<char>& buffer) {
    ZipHandle zip = ZipArchiveOpen(image.Data(), image.Size(), ZIP_MEMORY);
    if (!zip)
        return false;
    bool ok = true;
    for (const Entry& e : entries) {
        int index = -1;
        ZipEntry info;
        if (ZipArchiveFindItem(zip, e.name.c_str(), false, index, info) != ZR_OK) {
            ok = false;
            break;
        }
        const unsigned size = static_cast<unsigned>(info.uncompressedSize);
        int r = ZipArchiveUnzipItem(zip, index, buffer.data(), size, ZIP_MEMORY);
        if (r == ZR_MORE)
            r = ZipArchiveUnzipItem(zip, index, buffer.data() + size, 1, ZIP_MEMORY);
        ok = ok && r == ZR_OK && e.data.compare(0, e.data.size(), buffer.data(), size) == 0;
    }
    ZipArchiveClose(zip);
    return ok;
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

    const int rounds = 15;
    if (!ExtractWithReader(image, entries, buffer) ||
        !InflateWithZlib(image, entries, buffer, true)) {
        printf("extraction failed\n");
        return 1;
    }
    double start = BenchSeconds();
    for (int i = 0; i < rounds; ++i)
        ExtractWithReader(image, entries, buffer);
    const double readerSeconds = BenchSeconds() - start;
    start = BenchSeconds();
    for (int i = 0; i < rounds; ++i)
        InflateWithZlib(image, entries, buffer, false);
    const double zlibSeconds = BenchSeconds() - start;
    start = BenchSeconds();
    for (int i = 0; i < rounds; ++i)
        InflateWithZlib(image, entries, buffer, true);
    const double zlibCrcSeconds = BenchSeconds() - start;

    const double megabytes = static_cast<double>(total) * rounds / (1024.0 * 1024.0);
    printf("archive: %u entries, %.1f MB of data, %.2f MB compressed, %d rounds\n",
           static_cast<unsigned>(entries.size()), total / (1024.0 * 1024.0),
           image.bytes.size() / (1024.0 * 1024.0), rounds);
    printf("zip reader (memory, one call per entry): %8.1f MB/s\n", megabytes / readerSeconds);
    printf("zlib inflate alone:                      %8.1f MB/s\n", megabytes / zlibSeconds);
    printf("zlib inflate + crc32:                    %8.1f MB/s\n", megabytes / zlibCrcSeconds);
    printf("reader / zlib:                           %8.2f\n", zlibSeconds / readerSeconds);
    return 0;
}
