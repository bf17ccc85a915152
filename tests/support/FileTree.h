#pragma once
#include <windows.h>

#include <set>
#include <string>

namespace TestSupport {

// Every path below root, relative to it, as "path|size", except what lies below `skip`; links
// to folders are listed but not walked. For tests that prove nothing outside a folder changed.
std::set<std::wstring> SnapshotOf(const std::wstring& root, const std::wstring& skip = L"");
// The names directly in a folder (for a drive root such as L"C:").
std::set<std::wstring> TopLevelOf(const std::wstring& root);

// File times for the tests of archive entries.
FILETIME FileTimeOf(int year, int month, int day, int hour, int minute, int second);
FILETIME LocalToUtc(const FILETIME& local);
bool SameTime(const FILETIME& a, const FILETIME& b);
bool IsZero(const FILETIME& time);

} // namespace TestSupport
