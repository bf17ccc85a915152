#include <windows.h>

#include "ui/ZipHandle.h"
#include "ui/ZipReader.h"

#include <memory>
#include <new>

namespace SkinUI {

ZipArchiveHandle* OpenReadingHandle(const ZipFlavour& flavour, const void* source,
                                    unsigned int length, int kind, const char* password,
                                    int& result) {
    std::unique_ptr<ZipReader> reader(new (std::nothrow) ZipReader(flavour));
    if (!reader) {
        result = ZR_NOTINITED;
        return nullptr;
    }
    result = reader->Open(source, length, kind, password);
    if (result != ZR_OK)
        return nullptr;
    ZipArchiveHandle* handle = new (std::nothrow) ZipArchiveHandle{ZIP_KIND_READING, reader.get()};
    if (!handle) {
        result = ZR_NOTINITED;
        return nullptr;
    }
    reader.release();
    return handle;
}

int ReaderOfHandle(const ZipArchiveHandle* handle, ZipReader*& reader) {
    reader = nullptr;
    if (!handle)
        return ZR_ARGS;
    if (handle->kind != ZIP_KIND_READING)
        return ZR_ZMODE;
    reader = static_cast<ZipReader*>(handle->object);
    return reader ? ZR_OK : ZR_ARGS;
}

void CloseReadingHandle(ZipArchiveHandle* handle) {
    ZipReader* const reader = static_cast<ZipReader*>(handle->object);
    if (reader)
        reader->Close();
    delete reader;
    delete handle;
}

} // namespace SkinUI
