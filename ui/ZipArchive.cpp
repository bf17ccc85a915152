#include <windows.h>

#include "ui/ZipArchive.h"
#include "ui/ZipHandle.h"
#include "ui/ZipReader.h"

#include <atomic>

namespace SkinUI {

namespace {

std::atomic<int> g_lastResult{ZR_OK};

int Keep(int result) {
    g_lastResult = result;
    return result;
}

} // namespace

ZipHandle ZipArchiveOpen(const void* source, unsigned int length, int kind) {
    int result;
    ZipHandle handle =
        OpenReadingHandle(kFrameworkZipFlavour, source, length, kind, nullptr, result);
    Keep(result);
    return handle;
}

int ZipArchiveFindItem(ZipHandle handle, const wchar_t* name, bool ignoreCase, int& index,
                       ZipEntry& entry) {
    ZipReader* reader;
    const int r = ReaderOfHandle(handle, reader);
    if (r != ZR_OK) {
        index = -1;
        entry = ZipEntry{};
        entry.index = -1;
        return Keep(r);
    }
    return Keep(reader->FindEntry(name, ignoreCase, index, entry));
}

int ZipArchiveUnzipItem(ZipHandle handle, int index, void* target, unsigned int length, int kind) {
    ZipReader* reader;
    const int r = ReaderOfHandle(handle, reader);
    if (r != ZR_OK)
        return Keep(r);
    return Keep(reader->Unzip(index, target, length, kind));
}

int ZipArchiveClose(ZipHandle handle) {
    ZipReader* reader;
    const int r = ReaderOfHandle(handle, reader);
    if (r != ZR_OK)
        return Keep(r);
    CloseReadingHandle(handle);
    return Keep(ZR_OK);
}

int ZipArchiveGetLastResult() {
    return g_lastResult;
}

} // namespace SkinUI
