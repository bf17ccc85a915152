#pragma once
#include <windows.h>

#include <string>

namespace SkinUI {

// Stored entry names are bytes in the ANSI code page. Both conversions fail
// rather than lose characters (an embedded zero, a character the code page
// cannot hold).
bool ZipNameToWide(const std::string& stored, std::wstring& name);
bool ZipNameFromWide(const std::wstring& name, std::string& stored);

// Strips what would lead an extracted entry away from the base folder: drive
// prefixes, leading slashes, and everything up to the last parent reference.
std::wstring CleanZipEntryName(std::wstring name);

// The key under which names that differ only in case meet: ASCII letters
// folded, never the second byte of a double-byte character.
std::string ZipNameFoldKey(std::string name);

} // namespace SkinUI
