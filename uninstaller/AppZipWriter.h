#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace AppZip {

// The writing side of an archive handle, as far as closing one goes: at close
// it writes the central directory of what was added and the end record.
class ZipArchiveWriter {
public:
    ZipArchiveWriter() = default;
    ~ZipArchiveWriter();
    ZipArchiveWriter(const ZipArchiveWriter&) = delete;
    ZipArchiveWriter& operator=(const ZipArchiveWriter&) = delete;

    // kind: ZIP_HANDLE, ZIP_FILENAME or ZIP_MEMORY; a ZR_ result.
    int Create(void* target, unsigned int length, int kind);
    // ZR_OK, or ZR_WRITE when the central directory could not be written.
    int Close();

private:
    bool Write(const void* data, size_t size);
    void Release();

    HANDLE file_ = INVALID_HANDLE_VALUE;
    bool ownsFile_ = false;
    uint8_t* memory_ = nullptr;
    size_t memoryLength_ = 0;
    uint64_t written_ = 0;
    std::vector<std::string> centralRecords_; // one per added entry
    bool finished_ = false;
    int finishResult_ = 0;
};

} // namespace AppZip
