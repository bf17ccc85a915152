#include <windows.h>

#include "ui/ZipSource.h"
#include "ui/ZipTypes.h"

#include <cstring>

namespace SkinUI {

ZipSource::~ZipSource() {
    Close();
}

int ZipSource::OpenHandle(HANDLE file, bool duplicate, bool seekableMeansDiskFile) {
    if (IsOpen())
        return ZR_NOTINITED;
    if (seekableMeansDiskFile) {
        if (GetFileType(file) != FILE_TYPE_DISK)
            return ZR_SEEK;
    } else {
        SetLastError(NO_ERROR);
        if (SetFilePointer(file, 0, nullptr, FILE_CURRENT) == INVALID_SET_FILE_POINTER &&
            GetLastError() != NO_ERROR)
            return ZR_SEEK;
    }
    if (!duplicate)
        return AdoptFile(file, false);
    HANDLE copy = nullptr;
    const HANDLE self = GetCurrentProcess();
    if (!DuplicateHandle(self, file, self, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
        return ZR_NODUPH;
    return AdoptFile(copy, true);
}

int ZipSource::OpenFileName(const wchar_t* name) {
    if (IsOpen())
        return ZR_NOTINITED;
    if (!name)
        return ZR_ARGS;
    const HANDLE file = CreateFileW(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ZR_NOFILE;
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return ZR_SEEK;
    }
    return AdoptFile(file, true);
}

int ZipSource::AdoptFile(HANDLE file, bool owned) {
    LARGE_INTEGER here = {};
    LARGE_INTEGER size = {};
    const LARGE_INTEGER zero = {};
    if (!SetFilePointerEx(file, zero, &here, FILE_CURRENT) || !GetFileSizeEx(file, &size)) {
        if (owned)
            CloseHandle(file);
        return ZR_SEEK;
    }
    kind_ = File;
    file_ = file;
    ownsFile_ = owned;
    start_ = static_cast<uint64_t>(here.QuadPart);
    const uint64_t total = static_cast<uint64_t>(size.QuadPart);
    length_ = total > start_ ? total - start_ : 0;
    position_ = 0;
    error_ = false;
    return ZR_OK;
}

int ZipSource::OpenMemory(const void* data, unsigned int length) {
    if (IsOpen())
        return ZR_NOTINITED;
    if (!data)
        return ZR_ARGS;
    kind_ = Memory;
    memory_ = static_cast<const uint8_t*>(data);
    length_ = length;
    position_ = 0;
    error_ = false;
    return ZR_OK;
}

void ZipSource::Close() {
    if (kind_ == File && ownsFile_)
        CloseHandle(file_);
    kind_ = None;
    file_ = INVALID_HANDLE_VALUE;
    ownsFile_ = false;
    memory_ = nullptr;
    start_ = length_ = position_ = 0;
    error_ = false;
}

size_t ZipSource::Read(void* buffer, size_t size) {
    if (kind_ == None || position_ >= length_)
        return 0;
    const uint64_t available = length_ - position_;
    if (size > available)
        size = static_cast<size_t>(available);
    if (kind_ == Memory) {
        memcpy(buffer, memory_ + position_, size);
        position_ += size;
        return size;
    }
    LARGE_INTEGER target;
    target.QuadPart = static_cast<LONGLONG>(start_ + position_);
    if (!SetFilePointerEx(file_, target, nullptr, FILE_BEGIN)) {
        error_ = true;
        return 0;
    }
    size_t done = 0;
    while (done < size) {
        const DWORD piece = static_cast<DWORD>(size - done > 0x100000 ? 0x100000 : size - done);
        DWORD got = 0;
        if (!ReadFile(file_, static_cast<uint8_t*>(buffer) + done, piece, &got, nullptr)) {
            error_ = true;
            break;
        }
        if (got == 0)
            break; // the file shrank under us
        done += got;
    }
    position_ += done;
    return done;
}

bool ZipSource::Seek(int64_t offset, SeekOrigin origin) {
    if (kind_ == None)
        return false;
    int64_t base = 0;
    if (origin == FromCurrent)
        base = static_cast<int64_t>(position_);
    else if (origin == FromEnd)
        base = static_cast<int64_t>(length_);
    const int64_t target = base + offset;
    if (target < 0)
        return false;
    position_ = static_cast<uint64_t>(target);
    return true;
}

size_t ZipSource::ReadAt(uint64_t position, void* buffer, size_t size) {
    if (!Seek(static_cast<int64_t>(position), FromStart))
        return 0;
    return Read(buffer, size);
}

const uint8_t* ZipSource::MemoryAt(uint64_t position, size_t size) const {
    if (kind_ != Memory || position > length_ || size > length_ - position)
        return nullptr;
    return memory_ + position;
}

} // namespace SkinUI
