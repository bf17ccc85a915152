#include <windows.h>

#include "ui/Win32Handles.h"
#include "ui/ZipTargetPath.h"
#include "uninstaller/AppZipArchive.h"
#include "uninstaller/FileCompare.h"
#include "uninstaller/UninstallSession.h"

#include <cstdio>
#include <io.h>

bool ExtractResourceToFile(WORD id, const wchar_t* type, const wchar_t* path) {
    if (!type || !path)
        return false;
    const HMODULE self = GetModuleHandleW(nullptr);
    const HRSRC res = FindResourceW(self, MAKEINTRESOURCEW(id), type);
    if (!res)
        return false;
    const HGLOBAL loaded = LoadResource(self, res);
    if (!loaded)
        return false;
    const char* data = static_cast<const char*>(LockResource(loaded));
    if (!data)
        return false;
    const DWORD size = SizeofResource(self, res);
    FILE* f = _wfopen(path, L"wb");
    if (!f)
        return false;
    bool ok = true;
    for (DWORD done = 0; done < size && ok;) {
        const DWORD piece = size - done < 2048 ? size - done : 2048;
        ok = fwrite(data + done, 1, piece, f) == piece;
        done += piece;
    }
    // A file that could not be written completely is no extracted file.
    ok = fclose(f) == 0 && ok;
    if (!ok)
        _wremove(path);
    return ok;
}

namespace {

// Results after which unpacking goes on with the next entry: the entry
// itself failed, but the archive and the target folder are still usable.
bool IsEntryLevelFailure(unsigned result) {
    switch (result) {
    case 0:
    case 0x01000000:
    case 0x02000000:
    case 0x04000000:
    case 0x05000000:
    case 0xFF000000:
        return true;
    default:
        return false;
    }
}

// Another uninstaller of the maker's games, unpacking into the same folder, may hold an unpacked
// file open (the plug-in library it has loaded), so that it cannot be written again. When that
// file holds exactly the entry's bytes it is as good as one unpacked now.
bool AlreadyUnpacked(AppZip::ZipHandle zip, const AppZip::ZipEntry& entry,
                     const std::wstring& directory) {
    SkinUI::ZipTargetPath target;
    if (!target.Resolve(directory + L"\\", entry.name, true) || !target.IsRelative() ||
        target.HasParentReference())
        return false;
    const SkinUI::CFileHandle existing(
        CreateFileW(target.FullPath().c_str(), GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    wchar_t scratch[MAX_PATH] = {};
    if (!existing || !GetTempFileNameW(directory.c_str(), L"unz", 0, scratch))
        return false;
    const SkinUI::CFileHandle unpacked(
        CreateFileW(scratch, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return unpacked &&
           AppZip::ZipArchiveUnzipItem(zip, entry.index, unpacked.Get(), 0, AppZip::ZIP_HANDLE) ==
               AppZip::ZR_OK &&
           SetFilePointer(unpacked.Get(), 0, nullptr, FILE_BEGIN) == 0 &&
           SameBytes(existing.Get(), unpacked.Get());
}

} // namespace

bool UnzipArchiveToDir(const wchar_t* zipPath, const wchar_t* directory) {
    if (!zipPath || !*zipPath || !directory || !*directory)
        return false;
    if (_waccess(zipPath, 0) != 0)
        return false;
    AppZip::ZipHandle zip = AppZip::ZipArchiveOpen(zipPath, nullptr);
    if (!zip)
        return false;
    bool ok = AppZip::ZipArchiveSetBaseDir(zip, directory) == 0;
    AppZip::ZipEntry entry{};
    ok = ok && AppZip::ZipArchiveGetItem(zip, -1, entry) == 0;
    const int count = ok ? entry.index : 0;
    for (int i = 0; ok && i < count; ++i) {
        ok = AppZip::ZipArchiveGetItem(zip, i, entry) == 0;
        const unsigned result = ok ? AppZip::ZipArchiveUnzipItem(zip, i, entry.name) : 0;
        ok = ok && (IsEntryLevelFailure(result) ||
                    (result == AppZip::ZR_NOFILE && AlreadyUnpacked(zip, entry, directory)));
    }
    AppZip::ZipArchiveClose(zip);
    return ok;
}
