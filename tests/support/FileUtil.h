#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace TestSupport {

// Whole-file helpers for tests; binary, no conversion.
std::string ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
bool DirExists(const std::wstring& path);
// The 8.3 form of an existing path, as old shortcuts and uninstall entries hold it; empty when
// there is none.
std::wstring ShortPathOf(const std::wstring& path);
// Other spellings of a path that name the same file: every letter in upper or lower case, and
// forward slashes for backslashes.
std::wstring Upper(std::wstring path);
std::wstring Lower(std::wstring path);
std::wstring Slashed(std::wstring path);
// Names of the entries of a folder that match a pattern such as L"*.dmp".
std::vector<std::wstring> FilesMatching(const std::wstring& folder, const wchar_t* pattern);

// UTF-8 <-> UTF-16 for test expectations.
std::wstring FromUtf8(const std::string& s);
std::string ToUtf8(const std::wstring& s);

} // namespace TestSupport
