#include <windows.h>

#include "tests/support/TempDir.h"

#include <atomic>
#include <stdexcept>

namespace TestSupport {

namespace {

std::wstring TempRoot() {
    wchar_t buf[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, buf);
    std::wstring root(buf, n);
    if (!root.empty() && root.back() == L'\\')
        root.pop_back();
    return root;
}

} // namespace

TempDir::TempDir(const std::wstring& hint) {
    static std::atomic<unsigned> counter{0};
    const std::wstring root = TempRoot();
    for (int attempt = 0; attempt < 1000; ++attempt) {
        std::wstring candidate = root + L"\\" + hint + L"_" +
                                 std::to_wstring(GetCurrentProcessId()) + L"_" +
                                 std::to_wstring(counter++);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    RemoveTree(path_);
}

std::wstring TempDir::operator/(const std::wstring& relative) const {
    return path_ + L"\\" + relative;
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = path + L"\\" + name;
            // Links are removed, never followed.
            if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(path.c_str());
}

} // namespace TestSupport
