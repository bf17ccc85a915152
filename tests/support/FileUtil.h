#pragma once
#include <windows.h>

#include <string>

namespace TestSupport {

// Whole-file helpers for tests; binary, no conversion.
std::string ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
bool DirExists(const std::wstring& path);

// UTF-8 <-> UTF-16 for test expectations.
std::wstring FromUtf8(const std::string& s);
std::string ToUtf8(const std::wstring& s);

} // namespace TestSupport
