#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace TestSupport {

// Builds zip archives byte by byte for tests: plug-in archives, skin archives
// and deliberately damaged ones. Names are stored as given (bytes, usually in
// the ANSI code page); offsets count from the archive's first byte, after any
// leading bytes, unless told otherwise.
//
//   ZipImage zip = ZipWriter()
//                      .AddFile("InstallerChannelPlugin.dll", dllBytes)
//                      .AddFolder("res/")
//                      .AddFile("res/a.txt", "hello", ZipWriter::kStored)
//                      .Build();
//   zip.Set16(zip.centralHeaders[0] + ZipField::kCentralMethod, 99); // damage it
//   WriteFileBytes(path, zip.bytes);

uint16_t DosTime(int hour, int minute, int second); // seconds in steps of 2
uint16_t DosDate(int year, int month, int day);     // year from 1980
// An extended time stamp ("UT") extra block; flags bit 0 modification,
// bit 1 access, bit 2 creation; the times present follow in that order.
std::string ExtendedTimeExtra(uint8_t flags, uint32_t modification, uint32_t access = 0,
                              uint32_t creation = 0);
// Any extra block: 2-byte id, 2-byte length, body.
std::string ExtraBlock(uint16_t id, const std::string& body);
std::string RawDeflate(const std::string& data, int level = -1);
uint32_t Crc32(const std::string& data);
// Compressible test data: words from a seeded generator.
std::string SampleText(size_t size, uint32_t seed = 1);

struct ZipItem {
    std::string name;    // stored bytes
    std::string data;    // uncompressed content
    uint16_t method = 8; // 0 stored, 8 deflated; others are written stored
    uint16_t dosTime = DosTime(12, 0, 0);
    uint16_t dosDate = DosDate(2020, 1, 1);
    std::string localExtra;             // extra field of the local header
    std::string centralExtra;           // extra field of the central header
    std::string comment;                // entry comment
    uint8_t hostSystem = 0;             // high byte of "version made by" (0 DOS, 3 Unix, 11 NTFS)
    uint8_t madeByVersion = 20;         // low byte of "version made by"
    uint32_t externalAttributes = 0x20; // low byte: DOS bits; high word: Unix mode
    uint16_t flags = 0;                 // extra general purpose bits (bit 0 and 3 are set below)
    bool dataDescriptor = false; // bit 3: zero CRC and sizes locally, a descriptor after the data
    std::string password;        // traditional zip encryption when not empty
    std::optional<uint32_t> crc; // stored CRC-32 instead of the real one
    std::optional<std::string> storedData;    // data bytes as stored, instead of compressing
    std::optional<uint32_t> uncompressedSize; // declared size instead of data.size()
};

// Offsets of header fields, for tests that damage archives.
namespace ZipField {
constexpr size_t kLocalFlags = 6, kLocalMethod = 8, kLocalTime = 10, kLocalDate = 12,
                 kLocalCrc = 14, kLocalCompressed = 18, kLocalUncompressed = 22,
                 kLocalNameLength = 26, kLocalExtraLength = 28, kLocalHeaderSize = 30;
constexpr size_t kCentralMadeBy = 4, kCentralNeeded = 6, kCentralFlags = 8, kCentralMethod = 10,
                 kCentralTime = 12, kCentralDate = 14, kCentralCrc = 16, kCentralCompressed = 20,
                 kCentralUncompressed = 24, kCentralNameLength = 28, kCentralExtraLength = 30,
                 kCentralCommentLength = 32, kCentralDiskStart = 34, kCentralInternal = 36,
                 kCentralExternal = 38, kCentralLocalOffset = 42, kCentralHeaderSize = 46;
constexpr size_t kEndThisDisk = 4, kEndCentralDisk = 6, kEndEntriesHere = 8, kEndEntriesTotal = 10,
                 kEndCentralSize = 12, kEndCentralOffset = 16, kEndCommentLength = 20,
                 kEndRecordSize = 22;
} // namespace ZipField

// A built archive: its bytes and where its records lie in them.
struct ZipImage {
    std::string bytes;
    size_t archiveStart = 0;            // = number of leading bytes
    std::vector<size_t> localHeaders;   // one per entry
    std::vector<size_t> dataStarts;     // one per entry
    std::vector<size_t> centralHeaders; // one per entry
    size_t centralDirectory = 0;
    size_t endRecord = 0;

    uint16_t Get16(size_t at) const;
    uint32_t Get32(size_t at) const;
    void Set16(size_t at, uint16_t value);
    void Set32(size_t at, uint32_t value);
    const void* Data() const { return bytes.data(); }
    unsigned int Size() const { return static_cast<unsigned int>(bytes.size()); }
};

class ZipWriter {
public:
    static constexpr uint16_t kStored = 0;
    static constexpr uint16_t kDeflated = 8;

    ZipWriter& Add(ZipItem item);
    ZipWriter& AddFile(const std::string& name, const std::string& data,
                       uint16_t method = kDeflated);
    // A folder entry: no data, DOS folder attribute; the name should end in "/".
    ZipWriter& AddFolder(const std::string& name);
    // Bytes before the archive (a self-extracting layout).
    ZipWriter& SetLeadingBytes(std::string bytes);
    // Offsets count from the first byte of the whole image instead.
    ZipWriter& SetOffsetsIncludeLeadingBytes(bool include);
    ZipWriter& SetComment(std::string comment);

    size_t Count() const { return items_.size(); }
    ZipItem& Item(size_t index) { return items_[index]; }

    ZipImage Build() const;
    std::string Bytes() const { return Build().bytes; }
    bool WriteTo(const std::wstring& path) const;

private:
    std::vector<ZipItem> items_;
    std::string leading_;
    bool offsetsIncludeLeading_ = false;
    std::string comment_;
};

} // namespace TestSupport
