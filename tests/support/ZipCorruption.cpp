#include <windows.h>

#include "tests/support/ZipCorruption.h"

#include <cstring>
#include <stdexcept>
#include <vector>

namespace TestSupport {

namespace {

struct Field {
    size_t at;
    int size; // 2 or 4
};

// Every length, offset, count and code field of the archive's records.
std::vector<Field> HeaderFields(const ZipImage& image) {
    using namespace ZipField;
    std::vector<Field> fields;
    for (size_t h : image.localHeaders) {
        for (size_t f : {kLocalFlags, kLocalMethod, kLocalTime, kLocalDate, kLocalNameLength,
                         kLocalExtraLength})
            fields.push_back({h + f, 2});
        for (size_t f : {size_t{0}, kLocalCrc, kLocalCompressed, kLocalUncompressed})
            fields.push_back({h + f, 4});
    }
    for (size_t h : image.centralHeaders) {
        for (size_t f :
             {kCentralMadeBy, kCentralFlags, kCentralMethod, kCentralTime, kCentralDate,
              kCentralNameLength, kCentralExtraLength, kCentralCommentLength, kCentralDiskStart})
            fields.push_back({h + f, 2});
        for (size_t f : {size_t{0}, kCentralCrc, kCentralCompressed, kCentralUncompressed,
                         kCentralExternal, kCentralLocalOffset})
            fields.push_back({h + f, 4});
    }
    const size_t e = image.endRecord;
    for (size_t f :
         {kEndThisDisk, kEndCentralDisk, kEndEntriesHere, kEndEntriesTotal, kEndCommentLength})
        fields.push_back({e + f, 2});
    for (size_t f : {size_t{0}, kEndCentralSize, kEndCentralOffset})
        fields.push_back({e + f, 4});
    return fields;
}

uint32_t GetField(const std::string& b, const Field& f) {
    uint32_t v = 0;
    for (int i = f.size - 1; i >= 0; --i)
        v = (v << 8) | static_cast<uint8_t>(b[f.at + i]);
    return v;
}

void SetField(std::string& b, const Field& f, uint32_t v) {
    for (int i = 0; i < f.size; ++i)
        b[f.at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

uint32_t NastyValue(std::mt19937& random, uint32_t old, int size) {
    const uint32_t max = size == 2 ? 0xFFFFu : 0xFFFFFFFFu;
    switch (random() % 8) {
    case 0:
        return 0;
    case 1:
        return max;
    case 2:
        return max - (random() % 64);
    case 3:
        return (old + 1 + random() % 64) & max;
    case 4:
        return (old - 1 - random() % 64) & max;
    case 5:
        return size == 2 ? 0x8000 : 0x80000000u;
    case 6:
        return old ^ (1u << (random() % (8 * size)));
    default:
        return random() & max;
    }
}

void DamageOnce(const ZipImage& image, std::string& b, std::mt19937& random) {
    if (b.empty())
        return;
    const std::vector<Field> fields = HeaderFields(image);
    switch (random() % 7) {
    case 0: { // flip bytes anywhere
        const int n = 1 + random() % 8;
        for (int i = 0; i < n; ++i)
            b[random() % b.size()] ^= static_cast<char>(1 + random() % 255);
        break;
    }
    case 1: // cut the file
        b.resize(random() % b.size());
        break;
    case 2:
    case 3: { // overwrite a header field
        const Field f = fields[random() % fields.size()];
        if (f.at + f.size <= b.size())
            SetField(b, f, NastyValue(random, GetField(b, f), f.size));
        break;
    }
    case 4: { // swap two fields of the same size
        const Field f = fields[random() % fields.size()];
        const Field g = fields[random() % fields.size()];
        if (f.size == g.size && f.at + f.size <= b.size() && g.at + g.size <= b.size()) {
            const uint32_t v = GetField(b, f);
            SetField(b, f, GetField(b, g));
            SetField(b, g, v);
        }
        break;
    }
    case 5: { // insert bytes
        const size_t at = random() % (b.size() + 1);
        std::string extra(1 + random() % 32, '\0');
        for (char& c : extra)
            c = static_cast<char>(random());
        b.insert(at, extra);
        break;
    }
    default: { // remove bytes
        const size_t at = random() % b.size();
        b.erase(at, 1 + random() % 32);
        break;
    }
    }
}

} // namespace

std::string CorruptZip(const ZipImage& image, std::mt19937& random) {
    std::string bytes = image.bytes;
    const int rounds = 1 + random() % 3;
    for (int i = 0; i < rounds; ++i)
        DamageOnce(image, bytes, random);
    return bytes;
}

GuardedBytes::GuardedBytes(const std::string& bytes) {
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    const size_t page = si.dwPageSize;
    const size_t dataPages = (bytes.size() + page - 1) / page;
    const size_t total = (dataPages + 2) * page;
    region_ = VirtualAlloc(nullptr, total, MEM_RESERVE, PAGE_NOACCESS);
    if (!region_)
        throw std::runtime_error("VirtualAlloc reserve");
    uint8_t* const first = static_cast<uint8_t*>(region_) + page;
    if (dataPages && !VirtualAlloc(first, dataPages * page, MEM_COMMIT, PAGE_READWRITE))
        throw std::runtime_error("VirtualAlloc commit");
    uint8_t* const start = first + dataPages * page - bytes.size();
    if (!bytes.empty())
        memcpy(start, bytes.data(), bytes.size());
    if (dataPages) {
        DWORD old;
        VirtualProtect(first, dataPages * page, PAGE_READONLY, &old);
    }
    data_ = start;
    size_ = static_cast<unsigned int>(bytes.size());
}

GuardedBytes::~GuardedBytes() {
    if (region_)
        VirtualFree(region_, 0, MEM_RELEASE);
}

} // namespace TestSupport
