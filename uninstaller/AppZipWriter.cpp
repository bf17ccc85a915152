#include <windows.h>

#include "uninstaller/AppZipWriter.h"
#include "ui/ZipTypes.h"

#include <cstring>

namespace AppZip {

using namespace SkinUI;

ZipArchiveWriter::~ZipArchiveWriter() {
    Release();
}

int ZipArchiveWriter::Create(void* target, unsigned int length, int kind) {
    if (file_ != INVALID_HANDLE_VALUE || memory_)
        return ZR_NOTINITED;
    if (kind == ZIP_FILENAME) {
        if (!target)
            return ZR_ARGS;
        file_ = CreateFileW(static_cast<const wchar_t*>(target), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file_ == INVALID_HANDLE_VALUE)
            return ZR_NOFILE;
        ownsFile_ = true;
        return ZR_OK;
    }
    if (kind == ZIP_HANDLE) {
        if (!target || target == INVALID_HANDLE_VALUE)
            return ZR_NOTINITED;
        file_ = static_cast<HANDLE>(target);
        ownsFile_ = false;
        return ZR_OK;
    }
    if (kind == ZIP_MEMORY) {
        if (!target)
            return ZR_NOTINITED;
        memory_ = static_cast<uint8_t*>(target);
        memoryLength_ = length;
        return ZR_OK;
    }
    return ZR_ARGS;
}

bool ZipArchiveWriter::Write(const void* data, size_t size) {
    if (memory_) {
        if (written_ > memoryLength_ || size > memoryLength_ - written_)
            return false;
        memcpy(memory_ + written_, data, size);
        written_ += size;
        return true;
    }
    if (file_ == INVALID_HANDLE_VALUE)
        return false;
    const uint8_t* p = static_cast<const uint8_t*>(data);
    while (size > 0) {
        DWORD n = 0;
        if (!WriteFile(file_, p, static_cast<DWORD>(size), &n, nullptr) || n == 0)
            return false;
        p += n;
        size -= n;
        written_ += n;
    }
    return true;
}

int ZipArchiveWriter::Close() {
    if (!finished_) {
        finished_ = true;
        const uint64_t start = written_;
        bool ok = true;
        for (const std::string& record : centralRecords_)
            ok = ok && Write(record.data(), record.size());
        const uint64_t size = written_ - start;
        const uint16_t count = static_cast<uint16_t>(centralRecords_.size());
        uint8_t end[22] = {0x50, 0x4b, 0x05, 0x06};
        memcpy(end + 8, &count, 2);
        memcpy(end + 10, &count, 2);
        const uint32_t size32 = static_cast<uint32_t>(size);
        const uint32_t start32 = static_cast<uint32_t>(start);
        memcpy(end + 12, &size32, 4);
        memcpy(end + 16, &start32, 4);
        ok = ok && Write(end, sizeof end);
        finishResult_ = ok ? ZR_OK : ZR_WRITE;
    }
    Release();
    return finishResult_;
}

void ZipArchiveWriter::Release() {
    if (ownsFile_ && file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    ownsFile_ = false;
    memory_ = nullptr;
    memoryLength_ = 0;
    centralRecords_.clear();
}

} // namespace AppZip
