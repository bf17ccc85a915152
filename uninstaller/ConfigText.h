#pragma once
#include <string>

// The installer writes "installedFileList.txt" in UTF-8 or in code page 936, whatever the PC's
// ANSI code page: on a PC with code page 1252 a keep-list entry such as 存档 read the ANSI way
// would be misread and its saves deleted.

// A configuration is a few kilobytes; a file far beyond that is taken as the profile API takes
// any file (ANSI code page unless it has a UTF-8 mark).
constexpr size_t kMaxConfigBytes = 16u << 20;

// Reads a whole file; false when it cannot be opened or read or is larger than maxBytes.
bool ReadConfigBytes(const std::wstring& path, std::string& bytes, size_t maxBytes);
bool HasUtf16Mark(const std::string& bytes);
// The text as the installer wrote it: valid UTF-8 (a UTF-8 mark is dropped) is taken as UTF-8,
// anything else as code page 936.
std::wstring DecodeConfigText(const std::string& bytes);
// The configuration file's text: UTF-16 after a UTF-16 mark (little- or big-endian; an odd last
// byte is dropped, where the profile API read a byte beyond the file's end), a file
// beyond kMaxConfigBytes as the profile API reads it, anything else as the installer wrote it;
// empty when the file cannot be read.
std::wstring ReadConfigText(const std::wstring& path);
