#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// Small stateless helpers of the statistics component. All of them are
// re-entrant and report failure by their result only.

// Form-value encoding for the report body: ASCII letters and digits stay,
// every other byte (space, '-', '_', '.', '~', bytes 0x80-0xFF, NUL) becomes
// "%XX" with upper-case hex digits. The whole text is encoded, embedded NULs
// included.
std::string PercentEncode(const std::string& text);

// Full path of a module's file (the executable for null), however long; empty
// when it cannot be read whole. The one reader of module paths outside the UI
// framework.
std::wstring ModulePath(HMODULE module);

// Folder of the executable or library that contains this code, ending in a
// backslash. Leaves dir unchanged and returns false when it cannot be found.
bool GetModuleDirectory(std::wstring& dir);

// Directory part of a path, with '/' turned into '\' and a trailing '\';
// ".\" for a bare file name. False for a null or empty path, or when the
// directory does not fit the MAX_PATH-character output (which is then empty).
bool GetDirectoryPart(const wchar_t* path, wchar_t (&out)[MAX_PATH]);

// Replaces every 'find' in the NUL-terminated text; false for null or empty.
bool ReplaceWideChar(wchar_t* text, wchar_t find, wchar_t replacement);

// Local time as "YYYY-MM-DD hh:mm:ss"; empty when it cannot be had.
void GetLocalTimeText(std::string& out);

// Eight upper-case hex digits from the first field of a fresh GUID. Leaves
// out untouched and returns false when no GUID can be made.
bool NewSessionIdText(std::string& out);

// Appends the non-empty ';'-separated items of the first 'length' bytes of
// text (or up to an earlier NUL) to items; spaces stay part of the items.
// True when items is non-empty afterwards; false (nothing appended) for a
// null text or a zero length.
bool SplitBySemicolon(const char* text, size_t length, std::vector<std::string>& items);
