#pragma once
#include <windows.h>

#include "ui/ZipEntryStream.h"
#include "ui/ZipSource.h"
#include "ui/ZipTypes.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace SkinUI {

// Reads a zip archive from a file handle, a file name or memory: finds the
// end record, walks the central directory, hands out entry information and
// extracts entries into memory, an open file or a file below a base folder.
// Everything read from the archive is bounded by the archive's size, so a
// damaged archive gives result codes, never stray reads or writes.
//
// The public operations return handle API results (ZR_...), except where
// noted. One thread at a time.
class ZipReader {
public:
    explicit ZipReader(const ZipFlavour& flavour);
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // kind: ZIP_HANDLE (source is a HANDLE), ZIP_FILENAME (a wide file name)
    // or ZIP_MEMORY (length bytes at source, kept alive by the caller until
    // Close). The base folder becomes the current directory. A failure to
    // read the central directory gives UNZ_ERRNO / UNZ_BADZIPFILE or
    // ZR_NOFILE, as the flavour says.
    int Open(const void* source, unsigned int length, int kind, const char* password);
    int Close();
    bool IsOpen() const { return source_.IsOpen(); }

    int SetBaseDir(const wchar_t* folder);
    const std::wstring& BaseDir() const { return baseDir_; }
    int EntryCount() const { return entryCount_; }
    // Bytes found before the archive's first byte (self-extracting layout).
    uint64_t BytesBeforeArchive() const { return bytesBefore_; }

    // index -1: entry.index = number of entries, everything else zero.
    int GetEntry(int index, ZipEntry& entry);
    int FindEntry(const wchar_t* name, bool ignoreCase, int& index, ZipEntry& entry);
    // kind: ZIP_MEMORY (target is a buffer of length bytes), ZIP_HANDLE (an
    // open file handle) or ZIP_FILENAME (a wide path, relative ones below
    // the base folder).
    int Unzip(int index, void* target, unsigned int length, int kind);

    // Reading one entry directly. OpenEntry returns a handle API result;
    // ReadEntry the number of bytes delivered (0 at the end) or an UNZ_ code;
    // CloseEntry UNZ_OK or UNZ_CRCERROR (when all data was read and its
    // CRC-32 differs from the stored one).
    int OpenEntry(int index);
    int ReadEntry(void* buffer, unsigned int size);
    int CloseEntry();
    int OpenEntryIndex() const { return openIndex_; }
    // The result of the latest entry close, also of those the handle API
    // does on its own.
    int LastEntryCloseResult() const { return lastCloseResult_; }

private:
    struct CentralHeader {
        uint16_t versionMadeBy = 0;
        uint16_t flags = 0;
        uint16_t method = 0;
        uint16_t dosTime = 0;
        uint16_t dosDate = 0;
        uint32_t crc = 0;
        uint32_t compressedSize = 0;
        uint32_t uncompressedSize = 0;
        uint16_t nameLength = 0;
        uint16_t extraLength = 0;
        uint16_t commentLength = 0;
        uint32_t externalAttributes = 0;
        uint32_t localHeaderOffset = 0;
        std::string name;
    };

    int ReadEndRecord();
    void IndexDirectory();
    int FindEndRecord(uint64_t& position);
    int ReadCentralHeader();
    int GoToFirst();
    int GoToNext();
    int GoTo(int index);
    int PrepareEntry(int index, ZipEntryData& data, std::string& localExtra);
    int BuildEntry(int index, ZipEntry& entry);
    int EntryName(const std::string& stored, wchar_t (&name)[MAX_PATH]) const;
    int UnzipToMemory(int index, void* buffer, unsigned int length);
    int UnzipToFile(int index, void* target, int kind);
    int CopyEntryTo(HANDLE file, const ZipEntry& entry);
    int ReadFailure(int unzResult) const;

    const ZipFlavour& flavour_;
    ZipSource source_;
    std::string password_;
    std::wstring baseDir_;

    int entryCount_ = 0;
    uint64_t centralDirStart_ = 0;
    uint32_t centralDirSize_ = 0;
    uint64_t endRecordPos_ = 0;
    uint64_t bytesBefore_ = 0;

    // Built once at opening from the readable part of the central directory:
    // where each header starts, and the first entry of each name (exact and
    // case-folded), so that looking entries up never walks the directory.
    std::vector<uint64_t> headerPositions_;
    std::unordered_map<std::string, int> exactNames_;
    std::unordered_map<std::string, int> foldedNames_;

    int currentIndex_ = -1; // -1: no current entry
    uint64_t currentPos_ = 0;
    CentralHeader header_;

    ZipEntryStream stream_;
    int openIndex_ = -1;
    int lastCloseResult_ = UNZ_OK;

    int cachedIndex_ = -1;
    ZipEntry cachedEntry_ = {};

    std::vector<uint8_t> output_; // extraction to files, allocated on first use
};

} // namespace SkinUI
