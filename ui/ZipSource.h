#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace SkinUI {

// The bytes of an archive: an open file handle, a file opened by name, or a
// memory buffer read in place. Positions count from where the archive starts
// (for a file handle, its file position when the source was opened), so an
// archive may sit inside a larger file.
class ZipSource {
public:
    enum SeekOrigin { FromStart, FromCurrent, FromEnd };

    ZipSource() = default;
    ~ZipSource();
    ZipSource(const ZipSource&) = delete;
    ZipSource& operator=(const ZipSource&) = delete;

    // Each returns a handle API result (ZR_OK on success).
    int OpenHandle(HANDLE file, bool duplicate, bool seekableMeansDiskFile);
    int OpenFileName(const wchar_t* name);
    int OpenMemory(const void* data, unsigned int length);
    void Close();

    bool IsOpen() const { return kind_ != None; }
    uint64_t Length() const { return length_; }
    bool Failed() const { return error_; }

    // Reads up to size bytes at the current position; fewer at the end of the
    // archive. A file read failure sets the error flag.
    size_t Read(void* buffer, size_t size);
    uint64_t Tell() const { return position_; }
    bool Seek(int64_t offset, SeekOrigin origin);

    // Seek and read in one; the result is the number of bytes read.
    size_t ReadAt(uint64_t position, void* buffer, size_t size);

    // For an archive held in memory: the size bytes at position, read in
    // place; null for a file, or when the range leaves the archive.
    const uint8_t* MemoryAt(uint64_t position, size_t size) const;

private:
    enum Kind { None, File, Memory };

    int AdoptFile(HANDLE file, bool owned);

    Kind kind_ = None;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    bool ownsFile_ = false;
    uint64_t start_ = 0; // file position where the archive starts
    const uint8_t* memory_ = nullptr;
    uint64_t length_ = 0;
    uint64_t position_ = 0;
    bool error_ = false;
};

} // namespace SkinUI
