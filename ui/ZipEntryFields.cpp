#include <windows.h>

#include "ui/ZipEntryFields.h"

namespace SkinUI {

DWORD ZipAttributesByHost(uint32_t external, uint8_t host) {
    DWORD attributes = 0;
    if (host == 0 || host == 7 || host == 11 || host == 14) {
        // MS-DOS, Macintosh, NTFS and VFAT keep the DOS bits in the low byte.
        if (external & 0x01)
            attributes |= FILE_ATTRIBUTE_READONLY;
        if (external & 0x02)
            attributes |= FILE_ATTRIBUTE_HIDDEN;
        if (external & 0x04)
            attributes |= FILE_ATTRIBUTE_SYSTEM;
        if (external & 0x10)
            attributes |= FILE_ATTRIBUTE_DIRECTORY;
        if (external & 0x20)
            attributes |= FILE_ATTRIBUTE_ARCHIVE;
        return attributes;
    }
    // Unix-like hosts keep the mode in the high word.
    if (external & 0x40000000u)
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (!(external & 0x00800000u))
        attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes | FILE_ATTRIBUTE_ARCHIVE;
}

DWORD ZipAttributesCombined(uint32_t external) {
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    if ((external & 0x40000000u) || (external & 0x10))
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (external & 0x20)
        attributes |= FILE_ATTRIBUTE_ARCHIVE;
    if (external & 0x02)
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    if (!(external & 0x00800000u) || (external & 0x01))
        attributes |= FILE_ATTRIBUTE_READONLY;
    if (external & 0x04)
        attributes |= FILE_ATTRIBUTE_SYSTEM;
    return attributes;
}

bool ZipDosTimeToFileTime(uint16_t dosDate, uint16_t dosTime, bool localToUtc, FILETIME& out) {
    out = FILETIME{};
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(1980 + (dosDate >> 9));
    st.wMonth = static_cast<WORD>((dosDate >> 5) & 0x0F);
    st.wDay = static_cast<WORD>(dosDate & 0x1F);
    st.wHour = static_cast<WORD>(dosTime >> 11);
    st.wMinute = static_cast<WORD>((dosTime >> 5) & 0x3F);
    st.wSecond = static_cast<WORD>(2 * (dosTime & 0x1F));
    // SystemTimeToFileTime checks month and day but lets some bad times by.
    if (st.wHour > 23 || st.wMinute > 59 || st.wSecond > 59)
        return false;
    FILETIME ft;
    if (!SystemTimeToFileTime(&st, &ft))
        return false;
    if (localToUtc) {
        FILETIME utc;
        if (!LocalFileTimeToFileTime(&ft, &utc))
            return false;
        ft = utc;
    }
    out = ft;
    return true;
}

FILETIME ZipUnixTimeToFileTime(uint32_t seconds) {
    const uint64_t ticks = (static_cast<uint64_t>(seconds) + 11644473600ull) * 10000000ull;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ticks);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return ft;
}

namespace {

uint16_t Get16(const std::string& s, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(s[at]) |
                                 (static_cast<uint8_t>(s[at + 1]) << 8));
}

uint32_t Get32(const std::string& s, size_t at) {
    return static_cast<uint32_t>(Get16(s, at)) | (static_cast<uint32_t>(Get16(s, at + 2)) << 16);
}

} // namespace

void ZipApplyExtendedTimes(const std::string& extra, FILETIME& modification, FILETIME& access,
                           FILETIME& creation) {
    size_t pos = 0;
    while (pos + 4 <= extra.size()) {
        const uint16_t id = Get16(extra, pos);
        const size_t size = Get16(extra, pos + 2);
        const size_t body = pos + 4;
        if (body + size > extra.size())
            return;         // a block that runs past the field: the rest is not trusted
        if (id == 0x5455) { // "UT"
            if (size < 1)
                return;
            const uint8_t flags = static_cast<uint8_t>(extra[body]);
            size_t at = body + 1;
            FILETIME* const targets[3] = {&modification, &access, &creation};
            for (int bit = 0; bit < 3; ++bit) {
                if (!(flags & (1 << bit)))
                    continue;
                if (at + 4 > body + size)
                    return;
                *targets[bit] = ZipUnixTimeToFileTime(Get32(extra, at));
                at += 4;
            }
            return;
        }
        pos = body + size;
    }
}

} // namespace SkinUI
