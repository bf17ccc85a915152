#include <windows.h>

#include "uninstaller/AppZipArchive.h"
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
        ok = AppZip::ZipArchiveGetItem(zip, i, entry) == 0 &&
             IsEntryLevelFailure(AppZip::ZipArchiveUnzipItem(zip, i, entry.name));
    }
    AppZip::ZipArchiveClose(zip);
    return ok;
}
