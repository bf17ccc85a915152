#include <windows.h>

#include "uninstaller/FileCompare.h"
#include "uninstaller/SelfCopy.h"

using SkinUI::CFileHandle;

namespace {

bool ClearReadOnly(const std::wstring& path, DWORD attributes) {
    return ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY) != FALSE;
}

bool CopyLeavingWritable(const std::wstring& source, const std::wstring& target) {
    if (!::CopyFileW(source.c_str(), target.c_str(), FALSE))
        return false;
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY) ||
           ClearReadOnly(target, attributes);
}

CFileHandle OpenForCompare(const std::wstring& path, DWORD share) {
    return CFileHandle(::CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

} // namespace

bool CopyWritable(const std::wstring& source, const std::wstring& target) {
    if (CopyLeavingWritable(source, target))
        return true;
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        !(attributes & FILE_ATTRIBUTE_READONLY) || !ClearReadOnly(target, attributes))
        return false;
    if (CopyLeavingWritable(source, target))
        return true;
    ::SetFileAttributesW(target.c_str(), attributes);
    return false;
}

CFileHandle HoldIfSameBytes(const std::wstring& target, const std::wstring& source) {
    CFileHandle held = OpenForCompare(target, FILE_SHARE_READ);
    const CFileHandle original =
        OpenForCompare(source, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (!held || !original || !SameBytes(held.Get(), original.Get()))
        return CFileHandle();
    return held;
}
