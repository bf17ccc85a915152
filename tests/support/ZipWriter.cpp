#include <windows.h>

#include "tests/support/ZipWriter.h"
#include "tests/support/FileUtil.h"

#include <zlib.h>

#include <random>
#include <stdexcept>

namespace TestSupport {

namespace {

void Put16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void Put32(std::string& out, uint32_t v) {
    Put16(out, static_cast<uint16_t>(v));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

// The traditional zip encryption, written from the format description.
class ZipCrypt {
public:
    explicit ZipCrypt(const std::string& password) {
        for (char c : password)
            Update(static_cast<uint8_t>(c));
    }
    uint8_t Encrypt(uint8_t plain) {
        const uint32_t t = (keys_[2] & 0xFFFF) | 2;
        const uint8_t cipher = plain ^ static_cast<uint8_t>(((t * (t ^ 1)) >> 8) & 0xFF);
        Update(plain);
        return cipher;
    }

private:
    static uint32_t CrcStep(uint32_t crc, uint8_t b) {
        for (int i = 0; i < 8; ++i) {
            const bool low = ((crc ^ b) & 1) != 0;
            crc >>= 1;
            b >>= 1;
            if (low)
                crc ^= 0xEDB88320u;
        }
        return crc;
    }
    void Update(uint8_t c) {
        keys_[0] = CrcStep(keys_[0], c);
        keys_[1] = (keys_[1] + (keys_[0] & 0xFF)) * 134775813u + 1;
        keys_[2] = CrcStep(keys_[2], static_cast<uint8_t>(keys_[1] >> 24));
    }
    uint32_t keys_[3] = {0x12345678u, 0x23456789u, 0x34567890u};
};

std::string Encrypt(const ZipItem& item, uint32_t crc, const std::string& payload) {
    ZipCrypt crypt(item.password);
    std::mt19937 random(crc ^ static_cast<uint32_t>(payload.size()));
    std::string out;
    for (int i = 0; i < 11; ++i)
        out += static_cast<char>(crypt.Encrypt(static_cast<uint8_t>(random())));
    const uint8_t check = item.dataDescriptor ? static_cast<uint8_t>(item.dosTime >> 8)
                                              : static_cast<uint8_t>(crc >> 24);
    out += static_cast<char>(crypt.Encrypt(check));
    for (char c : payload)
        out += static_cast<char>(crypt.Encrypt(static_cast<uint8_t>(c)));
    return out;
}

} // namespace

uint16_t DosTime(int hour, int minute, int second) {
    return static_cast<uint16_t>((hour << 11) | (minute << 5) | (second / 2));
}

uint16_t DosDate(int year, int month, int day) {
    return static_cast<uint16_t>(((year - 1980) << 9) | (month << 5) | day);
}

std::string ExtraBlock(uint16_t id, const std::string& body) {
    std::string out;
    Put16(out, id);
    Put16(out, static_cast<uint16_t>(body.size()));
    return out + body;
}

std::string ExtendedTimeExtra(uint8_t flags, uint32_t modification, uint32_t access,
                              uint32_t creation) {
    std::string body(1, static_cast<char>(flags));
    if (flags & 1)
        Put32(body, modification);
    if (flags & 2)
        Put32(body, access);
    if (flags & 4)
        Put32(body, creation);
    return ExtraBlock(0x5455, body);
}

std::string RawDeflate(const std::string& data, int level) {
    z_stream zs = {};
    if (deflateInit2(&zs, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::string out(deflateBound(&zs, static_cast<uLong>(data.size())), '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = reinterpret_cast<Bytef*>(&out[0]);
    zs.avail_out = static_cast<uInt>(out.size());
    const int r = deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    if (r != Z_STREAM_END)
        throw std::runtime_error("deflate");
    return out;
}

uint32_t Crc32(const std::string& data) {
    return static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

std::string SampleText(size_t size, uint32_t seed) {
    static const char* const words[] = {"skin ",      "button ",   "layout ",  "image ",
                                        "uninstall ", "progress ", "window ",  "label ",
                                        "option ",    "text\r\n",  "velmora ", "plugin ",
                                        "0123 ",      "<Control ", "/> "};
    std::mt19937 random(seed);
    std::string out;
    out.reserve(size + 16);
    while (out.size() < size)
        out += words[random() % (sizeof words / sizeof words[0])];
    out.resize(size);
    return out;
}

uint16_t ZipImage::Get16(size_t at) const {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes.at(at)) |
                                 (static_cast<uint8_t>(bytes.at(at + 1)) << 8));
}

uint32_t ZipImage::Get32(size_t at) const {
    return static_cast<uint32_t>(Get16(at)) | (static_cast<uint32_t>(Get16(at + 2)) << 16);
}

void ZipImage::Set16(size_t at, uint16_t value) {
    bytes.at(at) = static_cast<char>(value & 0xFF);
    bytes.at(at + 1) = static_cast<char>(value >> 8);
}

void ZipImage::Set32(size_t at, uint32_t value) {
    Set16(at, static_cast<uint16_t>(value));
    Set16(at + 2, static_cast<uint16_t>(value >> 16));
}

ZipWriter& ZipWriter::Add(ZipItem item) {
    items_.push_back(std::move(item));
    return *this;
}

ZipWriter& ZipWriter::AddFile(const std::string& name, const std::string& data, uint16_t method) {
    ZipItem item;
    item.name = name;
    item.data = data;
    item.method = method;
    return Add(std::move(item));
}

ZipWriter& ZipWriter::AddFolder(const std::string& name) {
    ZipItem item;
    item.name = name;
    item.method = kStored;
    item.externalAttributes = 0x10;
    return Add(std::move(item));
}

ZipWriter& ZipWriter::SetLeadingBytes(std::string bytes) {
    leading_ = std::move(bytes);
    return *this;
}

ZipWriter& ZipWriter::SetOffsetsIncludeLeadingBytes(bool include) {
    offsetsIncludeLeading_ = include;
    return *this;
}

ZipWriter& ZipWriter::SetComment(std::string comment) {
    comment_ = std::move(comment);
    return *this;
}

ZipImage ZipWriter::Build() const {
    ZipImage image;
    std::string& out = image.bytes;
    out = leading_;
    image.archiveStart = leading_.size();
    const size_t offsetBase = offsetsIncludeLeading_ ? 0 : leading_.size();

    struct Written {
        uint16_t flags;
        uint32_t crc, compressed, uncompressed, localOffset;
    };
    std::vector<Written> written;
    for (const ZipItem& item : items_) {
        const uint32_t realCrc = Crc32(item.data);
        const uint32_t crc = item.crc ? *item.crc : realCrc;
        std::string payload = item.storedData            ? *item.storedData
                              : item.method == kDeflated ? RawDeflate(item.data)
                                                         : item.data;
        uint16_t flags = item.flags;
        if (!item.password.empty()) {
            flags |= 1;
            payload = Encrypt(item, crc, payload);
        }
        if (item.dataDescriptor)
            flags |= 8;
        const uint32_t uncompressed = item.uncompressedSize
                                          ? *item.uncompressedSize
                                          : static_cast<uint32_t>(item.data.size());
        const Written w{flags, crc, static_cast<uint32_t>(payload.size()), uncompressed,
                        static_cast<uint32_t>(out.size() - offsetBase)};
        image.localHeaders.push_back(out.size());
        Put32(out, 0x04034b50);
        Put16(out, 20);
        Put16(out, flags);
        Put16(out, item.method);
        Put16(out, item.dosTime);
        Put16(out, item.dosDate);
        Put32(out, item.dataDescriptor ? 0 : crc);
        Put32(out, item.dataDescriptor ? 0 : w.compressed);
        Put32(out, item.dataDescriptor ? 0 : uncompressed);
        Put16(out, static_cast<uint16_t>(item.name.size()));
        Put16(out, static_cast<uint16_t>(item.localExtra.size()));
        out += item.name;
        out += item.localExtra;
        image.dataStarts.push_back(out.size());
        out += payload;
        if (item.dataDescriptor) {
            Put32(out, 0x08074b50);
            Put32(out, crc);
            Put32(out, w.compressed);
            Put32(out, uncompressed);
        }
        written.push_back(w);
    }
    image.centralDirectory = out.size();
    for (size_t i = 0; i < items_.size(); ++i) {
        const ZipItem& item = items_[i];
        const Written& w = written[i];
        image.centralHeaders.push_back(out.size());
        Put32(out, 0x02014b50);
        Put16(out, static_cast<uint16_t>((item.hostSystem << 8) | item.madeByVersion));
        Put16(out, 20);
        Put16(out, w.flags);
        Put16(out, item.method);
        Put16(out, item.dosTime);
        Put16(out, item.dosDate);
        Put32(out, w.crc);
        Put32(out, w.compressed);
        Put32(out, w.uncompressed);
        Put16(out, static_cast<uint16_t>(item.name.size()));
        Put16(out, static_cast<uint16_t>(item.centralExtra.size()));
        Put16(out, static_cast<uint16_t>(item.comment.size()));
        Put16(out, 0);
        Put16(out, 0);
        Put32(out, item.externalAttributes);
        Put32(out, w.localOffset);
        out += item.name;
        out += item.centralExtra;
        out += item.comment;
    }
    image.endRecord = out.size();
    const uint32_t centralSize = static_cast<uint32_t>(image.endRecord - image.centralDirectory);
    Put32(out, 0x06054b50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<uint16_t>(items_.size()));
    Put16(out, static_cast<uint16_t>(items_.size()));
    Put32(out, centralSize);
    Put32(out, static_cast<uint32_t>(image.centralDirectory - offsetBase));
    Put16(out, static_cast<uint16_t>(comment_.size()));
    out += comment_;
    return image;
}

bool ZipWriter::WriteTo(const std::wstring& path) const {
    return WriteFileBytes(path, Bytes());
}

} // namespace TestSupport
