#pragma once
#include <windows.h>

#include <cstdint>

namespace SkinUI {

// Results of the archive handle API; each call also keeps its result as the
// last result of its API.
enum : int {
    ZR_OK = 0,
    ZR_NODUPH = 0x100,        // the given file handle cannot be duplicated
    ZR_NOFILE = 0x200,        // a file cannot be opened or created
    ZR_WRITE = 0x400,         // writing an extracted file failed
    ZR_NOTFOUND = 0x500,      // no entry has the given name
    ZR_MORE = 0x600,          // data delivered into memory, more may follow
    ZR_CORRUPT = 0x700,       // local header disagrees with the central one
    ZR_READ = 0x800,          // the entry's extra field cannot be read
    ZR_PASSWORD = 0x1000,     // password needed or wrong
    ZR_ARGS = 0x10000,        // bad argument
    ZR_ZMODE = 0x80000,       // reading handle given to a writing call or back
    ZR_NOTINITED = 0x1000000, // reader already open, or writer without target
    ZR_SEEK = 0x2000000,      // the given file handle cannot seek
    ZR_FLATE = 0x5000000,     // decompression failed or the entry ended early
};

// Results of the layer below the handle API.
enum : int {
    UNZ_OK = 0,
    UNZ_ERRNO = -1,
    UNZ_END_OF_LIST = -100,
    UNZ_PARAMERROR = -102,
    UNZ_BADZIPFILE = -103,
    UNZ_OUTOFMEMORY = -104,
    UNZ_CRCERROR = -105,
    UNZ_PASSWORD = -106,
};

// Where an archive is read from, and where an entry is extracted to.
enum : int {
    ZIP_HANDLE = 1,   // an open file handle
    ZIP_FILENAME = 2, // a file name (wide)
    ZIP_MEMORY = 3,   // a memory buffer and its length
};

// Kinds of archive handle.
enum : int {
    ZIP_KIND_READING = 1,
    ZIP_KIND_WRITING = 2,
};

// What the handle API tells about one entry.
struct ZipEntry {
    int index;
    wchar_t name[MAX_PATH]; // at most 259 characters and the terminator
    DWORD attributes;
    FILETIME creationTime;
    FILETIME accessTime;
    FILETIME modificationTime;
    int compressedSize;
    int uncompressedSize;
};

// The archive handle record: a kind and the reader or writer behind it.
struct ZipArchiveHandle {
    int32_t kind;
    void* object;
};

// The points on which the framework's reader and the application's reader
// differ; the reading itself is shared.
struct ZipFlavour {
    // A given file handle is duplicated and the duplicate closed at the end
    // (otherwise it is used as is and left open).
    bool duplicateGivenHandle;
    // A given file handle is seekable when it is a disk file (otherwise when
    // its file pointer can be queried).
    bool seekableMeansDiskFile;
    // Stored names are converted and cleaned of drive prefixes, leading
    // slashes and parent references when the entry is read.
    bool cleanEntryNames;
    // DOS times are local times and handed out in UTC.
    bool dosTimesAreLocal;
    // Attributes follow the host system recorded in "version made by".
    bool attributesByHost;
    // Extraction into memory reports ZR_MORE for every call that delivered
    // bytes, also the one that reached the end of the entry.
    bool moreUntilEmptyRead;
    // Extraction to a named file creates every missing folder of the path
    // (otherwise only folders below the base folder for plain relative paths).
    bool createAllFolders;
    // An absolute extraction target must lie below the base folder as well
    // (otherwise it is the caller's explicit choice). Relative targets never
    // leave the base folder.
    bool confineAbsoluteTargets;
    // Password failures are reported as ZR_PASSWORD (otherwise as ZR_FLATE).
    bool reportPasswordErrors;
    // A failed open reports the reader's own -1 / -103 (otherwise ZR_NOFILE).
    bool rawOpenErrors;
};

extern const ZipFlavour kFrameworkZipFlavour;
extern const ZipFlavour kApplicationZipFlavour;

} // namespace SkinUI
