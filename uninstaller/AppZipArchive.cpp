#include <windows.h>

#include "uninstaller/AppZipArchive.h"
#include "uninstaller/AppZipWriter.h"
#include "ui/ZipHandle.h"
#include "ui/ZipReader.h"

#include <atomic>
#include <memory>
#include <new>

namespace AppZip {

using SkinUI::ZipReader;

namespace {

std::atomic<int> g_lastReadResult{ZR_OK};
std::atomic<int> g_lastWriteResult{ZR_OK};

int KeepRead(int result) {
    g_lastReadResult = result;
    return result;
}

int KeepWrite(int result) {
    g_lastWriteResult = result;
    return result;
}

} // namespace

ZipHandle ZipArchiveOpen(const void* source, unsigned int length, int kind, const char* password) {
    int result;
    ZipHandle handle = SkinUI::OpenReadingHandle(SkinUI::kApplicationZipFlavour, source, length,
                                                 kind, password, result);
    KeepRead(result);
    return handle;
}

ZipHandle ZipArchiveOpen(const wchar_t* fileName, const char* password) {
    return ZipArchiveOpen(fileName, 0, ZIP_FILENAME, password);
}

int ZipArchiveGetItem(ZipHandle handle, int index, ZipEntry& entry) {
    ZipReader* reader;
    const int r = SkinUI::ReaderOfHandle(handle, reader);
    if (r != ZR_OK)
        return KeepRead(r);
    return KeepRead(reader->GetEntry(index, entry));
}

int ZipArchiveSetBaseDir(ZipHandle handle, const wchar_t* folder) {
    ZipReader* reader;
    const int r = SkinUI::ReaderOfHandle(handle, reader);
    if (r != ZR_OK)
        return KeepRead(r);
    return KeepRead(reader->SetBaseDir(folder));
}

int ZipArchiveUnzipItem(ZipHandle handle, int index, void* target, unsigned int length, int kind) {
    ZipReader* reader;
    const int r = SkinUI::ReaderOfHandle(handle, reader);
    if (r != ZR_OK)
        return KeepRead(r);
    return KeepRead(reader->Unzip(index, target, length, kind));
}

int ZipArchiveUnzipItem(ZipHandle handle, int index, const wchar_t* fileName) {
    return ZipArchiveUnzipItem(handle, index, const_cast<wchar_t*>(fileName), 0, ZIP_FILENAME);
}

int ZipArchiveClose(ZipHandle handle) {
    if (!handle)
        return KeepRead(ZR_ARGS);
    if (handle->kind == ZIP_KIND_READING) {
        SkinUI::CloseReadingHandle(handle);
        return KeepRead(ZR_OK);
    }
    if (handle->kind == ZIP_KIND_WRITING) {
        ZipArchiveWriter* const writer = static_cast<ZipArchiveWriter*>(handle->object);
        const int r = writer ? writer->Close() : ZR_NOTINITED;
        delete writer;
        delete handle;
        return KeepWrite(r);
    }
    return KeepRead(ZR_ZMODE);
}

bool ZipArchiveIsReading(ZipHandle handle) {
    return handle && handle->kind == ZIP_KIND_READING;
}

int ZipArchiveGetLastResult() {
    return g_lastReadResult;
}

int ZipArchiveGetLastWriteResult() {
    return g_lastWriteResult;
}

ZipHandle ZipArchiveCreate(void* target, unsigned int length, int kind) {
    std::unique_ptr<ZipArchiveWriter> writer(new (std::nothrow) ZipArchiveWriter);
    if (!writer) {
        KeepWrite(ZR_NOTINITED);
        return nullptr;
    }
    if (KeepWrite(writer->Create(target, length, kind)) != ZR_OK)
        return nullptr;
    ZipHandle handle = new (std::nothrow) ZipArchiveHandle{ZIP_KIND_WRITING, writer.get()};
    if (!handle) {
        KeepWrite(ZR_NOTINITED);
        return nullptr;
    }
    writer.release();
    return handle;
}

} // namespace AppZip
