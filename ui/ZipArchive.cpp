#include <windows.h>

#include "ui/ZipArchive.h"
#include "ui/ZipReader.h"

#include <atomic>
#include <memory>
#include <new>

namespace SkinUI {

namespace {

std::atomic<int> g_lastResult{ZR_OK};

int Keep(int result) {
    g_lastResult = result;
    return result;
}

// The reader behind a handle, or the result that says why there is none.
int ReaderOf(ZipHandle handle, ZipReader*& reader) {
    reader = nullptr;
    if (!handle)
        return ZR_ARGS;
    if (handle->kind != ZIP_KIND_READING)
        return ZR_ZMODE;
    reader = static_cast<ZipReader*>(handle->object);
    return reader ? ZR_OK : ZR_ARGS;
}

} // namespace

ZipHandle ZipArchiveOpen(const void* source, unsigned int length, int kind) {
    std::unique_ptr<ZipReader> reader(new (std::nothrow) ZipReader(kFrameworkZipFlavour));
    if (!reader) {
        Keep(ZR_NOTINITED);
        return nullptr;
    }
    const int r = Keep(reader->Open(source, length, kind, nullptr));
    if (r != ZR_OK)
        return nullptr;
    ZipHandle handle = new (std::nothrow) ZipArchiveHandle{ZIP_KIND_READING, reader.get()};
    if (!handle) {
        Keep(ZR_NOTINITED);
        return nullptr;
    }
    reader.release();
    return handle;
}

int ZipArchiveFindItem(ZipHandle handle, const wchar_t* name, bool ignoreCase, int& index,
                       ZipEntry& entry) {
    ZipReader* reader;
    const int r = ReaderOf(handle, reader);
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
    const int r = ReaderOf(handle, reader);
    if (r != ZR_OK)
        return Keep(r);
    return Keep(reader->Unzip(index, target, length, kind));
}

int ZipArchiveClose(ZipHandle handle) {
    ZipReader* reader;
    const int r = ReaderOf(handle, reader);
    if (r != ZR_OK)
        return Keep(r);
    reader->Close();
    delete reader;
    delete handle;
    return Keep(ZR_OK);
}

int ZipArchiveGetLastResult() {
    return g_lastResult;
}

} // namespace SkinUI
