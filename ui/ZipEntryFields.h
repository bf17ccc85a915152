#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace SkinUI {

// Windows attribute bits of an entry from its external attributes and the
// host system (high byte of "version made by").
DWORD ZipAttributesByHost(uint32_t external, uint8_t host);
// The framework's mapping: FILE_ATTRIBUTE_NORMAL plus whatever bit of either
// convention says so, whatever the host.
DWORD ZipAttributesCombined(uint32_t external);

// A DOS date and time as a FILETIME, either taken as local time and
// converted to UTC or kept as it is. False (and a zero FILETIME) for a date
// or time that names no real moment.
bool ZipDosTimeToFileTime(uint16_t dosDate, uint16_t dosTime, bool localToUtc, FILETIME& out);

// Applies the first "UT" (extended time stamp) block of an extra field:
// each time it carries replaces the given one. Malformed blocks are ignored.
void ZipApplyExtendedTimes(const std::string& extra, FILETIME& modification, FILETIME& access,
                           FILETIME& creation);

FILETIME ZipUnixTimeToFileTime(uint32_t seconds);

} // namespace SkinUI
