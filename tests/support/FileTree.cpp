#include <windows.h>

#include "tests/support/FileTree.h"

namespace TestSupport {

namespace {

void Snapshot(const std::wstring& root, const std::wstring& relative, const std::wstring& skip,
              std::set<std::wstring>& out) {
    WIN32_FIND_DATAW fd;
    const std::wstring dir = relative.empty() ? root : root + L"\\" + relative;
    const HANDLE h = ::FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        const std::wstring rel = relative.empty() ? name : relative + L"\\" + name;
        out.insert(rel + L"|" + std::to_wstring(fd.nFileSizeLow));
        if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && rel != skip &&
            !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            Snapshot(root, rel, skip, out);
        }
    } while (::FindNextFileW(h, &fd));
    ::FindClose(h);
}

} // namespace

std::set<std::wstring> SnapshotOf(const std::wstring& root, const std::wstring& skip) {
    std::set<std::wstring> out;
    Snapshot(root, L"", skip, out);
    return out;
}

std::set<std::wstring> TopLevelOf(const std::wstring& root) {
    std::set<std::wstring> out;
    WIN32_FIND_DATAW fd;
    const HANDLE h = ::FindFirstFileW((root + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) {
        return out;
    }
    do {
        out.insert(fd.cFileName);
    } while (::FindNextFileW(h, &fd));
    ::FindClose(h);
    return out;
}

FILETIME FileTimeOf(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    st.wSecond = static_cast<WORD>(second);
    FILETIME ft = {};
    ::SystemTimeToFileTime(&st, &ft);
    return ft;
}

FILETIME LocalToUtc(const FILETIME& local) {
    FILETIME utc = {};
    ::LocalFileTimeToFileTime(&local, &utc);
    return utc;
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

bool IsZero(const FILETIME& time) {
    return time.dwLowDateTime == 0 && time.dwHighDateTime == 0;
}

} // namespace TestSupport
