#include <windows.h>

#include "ui/ZipReader.h"
#include "ui/ZipEntryFields.h"
#include "ui/ZipEntryName.h"
#include "ui/ZipTargetPath.h"

#include <algorithm>
#include <cstring>

namespace SkinUI {

const ZipFlavour kFrameworkZipFlavour = {
    /*duplicateGivenHandle*/ true,  /*seekableMeansDiskFile*/ true,
    /*cleanEntryNames*/ false,      /*dosTimesAreLocal*/ false,
    /*attributesByHost*/ false,     /*moreUntilEmptyRead*/ true,
    /*createAllFolders*/ false,     /*confineAbsoluteTargets*/ true,
    /*reportPasswordErrors*/ false, /*rawOpenErrors*/ true,
};

const ZipFlavour kApplicationZipFlavour = {
    /*duplicateGivenHandle*/ false, /*seekableMeansDiskFile*/ false,
    /*cleanEntryNames*/ true,       /*dosTimesAreLocal*/ true,
    /*attributesByHost*/ true,      /*moreUntilEmptyRead*/ false,
    /*createAllFolders*/ true,      /*confineAbsoluteTargets*/ false,
    /*reportPasswordErrors*/ true,  /*rawOpenErrors*/ false,
};

namespace {

constexpr uint32_t kEndRecordSignature = 0x06054b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr size_t kEndRecordSize = 22;
constexpr size_t kCentralHeaderSize = 46;
constexpr size_t kLocalHeaderSize = 30;
constexpr uint64_t kMaxCommentSize = 0xFFFF;
constexpr size_t kSearchWindow = 1024;
constexpr size_t kOutputSize = 16384;

uint16_t Get16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t Get32(const uint8_t* p) {
    return static_cast<uint32_t>(Get16(p)) | (static_cast<uint32_t>(Get16(p + 2)) << 16);
}

std::wstring CurrentDirectory() {
    const DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0)
        return {};
    std::wstring dir(needed, L'\0');
    const DWORD n = GetCurrentDirectoryW(needed, &dir[0]);
    dir.resize(n < needed ? n : 0);
    return dir;
}

std::wstring WithTrailingSlash(std::wstring dir) {
    if (dir.empty() || (dir.back() != L'\\' && dir.back() != L'/'))
        dir += L'\\';
    return dir;
}

bool EndsWithSlash(const wchar_t* s) {
    const size_t n = wcslen(s);
    return n > 0 && (s[n - 1] == L'\\' || s[n - 1] == L'/');
}

bool WriteAll(HANDLE file, const uint8_t* data, size_t size) {
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) || written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

const FILETIME* TimeOrNull(const FILETIME& t) {
    return t.dwLowDateTime == 0 && t.dwHighDateTime == 0 ? nullptr : &t;
}

} // namespace

ZipReader::ZipReader(const ZipFlavour& flavour) : flavour_(flavour) {}

ZipReader::~ZipReader() {
    Close();
}

int ZipReader::Open(const void* source, unsigned int length, int kind, const char* password) {
    if (IsOpen())
        return ZR_NOTINITED;
    baseDir_ = WithTrailingSlash(CurrentDirectory());
    int r = ZR_ARGS;
    if (kind == ZIP_HANDLE) {
        r = source_.OpenHandle(const_cast<HANDLE>(source), flavour_.duplicateGivenHandle,
                               flavour_.seekableMeansDiskFile);
    } else if (kind == ZIP_FILENAME) {
        r = source_.OpenFileName(static_cast<const wchar_t*>(source));
    } else if (kind == ZIP_MEMORY) {
        r = source_.OpenMemory(source, length);
    }
    if (r != ZR_OK)
        return r;
    r = ReadEndRecord();
    if (r == UNZ_OK && entryCount_ > 0)
        r = GoToFirst();
    if (r == UNZ_OK)
        IndexDirectory();
    if (r != UNZ_OK) {
        source_.Close();
        entryCount_ = 0;
        if (!flavour_.rawOpenErrors)
            return ZR_NOFILE;
        return r == UNZ_BADZIPFILE ? UNZ_BADZIPFILE : UNZ_ERRNO;
    }
    password_ = password ? password : "";
    return ZR_OK;
}

int ZipReader::Close() {
    CloseEntry();
    source_.Close();
    password_.clear();
    entryCount_ = 0;
    centralDirStart_ = endRecordPos_ = bytesBefore_ = 0;
    centralDirSize_ = 0;
    currentIndex_ = -1;
    header_ = CentralHeader();
    headerPositions_.clear();
    exactNames_.clear();
    foldedNames_.clear();
    cachedIndex_ = -1;
    output_.clear();
    output_.shrink_to_fit();
    return ZR_OK;
}

int ZipReader::SetBaseDir(const wchar_t* folder) {
    if (!folder)
        return ZR_ARGS;
    baseDir_ = WithTrailingSlash(folder);
    return ZR_OK;
}

// The end record sits in the last 22 bytes plus at most 65535 bytes of
// archive comment; it is searched backwards in overlapping windows.
int ZipReader::FindEndRecord(uint64_t& position) {
    const uint64_t length = source_.Length();
    if (length < kEndRecordSize)
        return UNZ_ERRNO;
    const uint64_t lowest = length - std::min<uint64_t>(length, kEndRecordSize + kMaxCommentSize);
    uint8_t window[kSearchWindow];
    uint64_t windowEnd = length;
    for (;;) {
        const uint64_t windowStart =
            windowEnd - lowest > kSearchWindow ? windowEnd - kSearchWindow : lowest;
        const size_t size = static_cast<size_t>(windowEnd - windowStart);
        if (source_.ReadAt(windowStart, window, size) != size)
            return UNZ_ERRNO;
        for (size_t i = size >= 4 ? size - 3 : 0; i-- > 0;) {
            if (Get32(window + i) == kEndRecordSignature &&
                windowStart + i + kEndRecordSize <= length) {
                position = windowStart + i;
                return UNZ_OK;
            }
        }
        if (windowStart == lowest)
            return UNZ_ERRNO;
        windowEnd = windowStart + 4;
    }
}

int ZipReader::ReadEndRecord() {
    uint64_t position = 0;
    int r = FindEndRecord(position);
    if (r != UNZ_OK)
        return r;
    uint8_t record[kEndRecordSize];
    if (source_.ReadAt(position, record, sizeof record) != sizeof record)
        return UNZ_ERRNO;
    const uint16_t thisDisk = Get16(record + 4);
    const uint16_t centralDisk = Get16(record + 6);
    const uint16_t entriesHere = Get16(record + 8);
    const uint16_t entriesTotal = Get16(record + 10);
    const uint32_t size = Get32(record + 12);
    const uint32_t offset = Get32(record + 16);
    if (thisDisk != 0 || centralDisk != 0 || entriesHere != entriesTotal)
        return UNZ_BADZIPFILE;
    if (position < static_cast<uint64_t>(offset) + size)
        return UNZ_BADZIPFILE;
    entryCount_ = entriesTotal;
    centralDirSize_ = size;
    endRecordPos_ = position;
    bytesBefore_ = position - (static_cast<uint64_t>(offset) + size);
    centralDirStart_ = position - size;
    currentIndex_ = -1;
    cachedIndex_ = -1;
    return UNZ_OK;
}

// Walks the central directory once, up to its first unreadable header: later
// entries stay unreachable by name, and by index give the header's error.
void ZipReader::IndexDirectory() {
    headerPositions_.clear();
    exactNames_.clear();
    foldedNames_.clear();
    headerPositions_.reserve(static_cast<size_t>(entryCount_));
    for (int r = GoToFirst(); r == UNZ_OK; r = GoToNext()) {
        headerPositions_.push_back(currentPos_);
        exactNames_.emplace(header_.name, currentIndex_);
        foldedNames_.emplace(ZipNameFoldKey(header_.name), currentIndex_);
    }
    GoToFirst();
}

int ZipReader::ReadCentralHeader() {
    uint8_t h[kCentralHeaderSize];
    if (currentPos_ + kCentralHeaderSize > endRecordPos_)
        return UNZ_BADZIPFILE;
    if (source_.ReadAt(currentPos_, h, sizeof h) != sizeof h)
        return UNZ_ERRNO;
    if (Get32(h) != kCentralSignature)
        return UNZ_BADZIPFILE;
    CentralHeader c;
    c.versionMadeBy = Get16(h + 4);
    c.flags = Get16(h + 8);
    c.method = Get16(h + 10);
    c.dosTime = Get16(h + 12);
    c.dosDate = Get16(h + 14);
    c.crc = Get32(h + 16);
    c.compressedSize = Get32(h + 20);
    c.uncompressedSize = Get32(h + 24);
    c.nameLength = Get16(h + 28);
    c.extraLength = Get16(h + 30);
    c.commentLength = Get16(h + 32);
    c.externalAttributes = Get32(h + 38);
    c.localHeaderOffset = Get32(h + 42);
    const uint64_t end =
        currentPos_ + kCentralHeaderSize + c.nameLength + c.extraLength + c.commentLength;
    if (end > endRecordPos_)
        return UNZ_BADZIPFILE;
    c.name.resize(c.nameLength);
    if (c.nameLength != 0 &&
        source_.ReadAt(currentPos_ + kCentralHeaderSize, &c.name[0], c.nameLength) != c.nameLength)
        return UNZ_ERRNO;
    header_ = std::move(c);
    return UNZ_OK;
}

int ZipReader::GoToFirst() {
    currentIndex_ = -1;
    if (entryCount_ == 0)
        return UNZ_END_OF_LIST;
    currentPos_ = centralDirStart_;
    const int r = ReadCentralHeader();
    if (r == UNZ_OK)
        currentIndex_ = 0;
    return r;
}

int ZipReader::GoToNext() {
    if (currentIndex_ < 0)
        return UNZ_PARAMERROR;
    if (currentIndex_ + 1 >= entryCount_)
        return UNZ_END_OF_LIST;
    currentPos_ +=
        kCentralHeaderSize + header_.nameLength + header_.extraLength + header_.commentLength;
    const int r = ReadCentralHeader();
    currentIndex_ = r == UNZ_OK ? currentIndex_ + 1 : -1;
    return r;
}

int ZipReader::GoTo(int index) {
    if (index < 0 || index >= entryCount_)
        return UNZ_PARAMERROR;
    if (index == currentIndex_)
        return UNZ_OK;
    int r = UNZ_OK;
    if (static_cast<size_t>(index) < headerPositions_.size()) {
        currentPos_ = headerPositions_[index];
        r = ReadCentralHeader();
        currentIndex_ = r == UNZ_OK ? index : -1;
        return r;
    }
    if (currentIndex_ < 0 || index < currentIndex_)
        r = GoToFirst();
    while (r == UNZ_OK && currentIndex_ < index)
        r = GoToNext();
    return r;
}

// Reads the central and local headers of an entry and checks that they
// agree and that the entry's data lies inside the archive.
int ZipReader::PrepareEntry(int index, ZipEntryData& data, std::string& localExtra) {
    if (GoTo(index) != UNZ_OK)
        return ZR_CORRUPT;
    const CentralHeader& c = header_;
    const uint64_t local = static_cast<uint64_t>(c.localHeaderOffset) + bytesBefore_;
    uint8_t h[kLocalHeaderSize];
    if (source_.ReadAt(local, h, sizeof h) != sizeof h || Get32(h) != kLocalSignature)
        return ZR_CORRUPT;
    const uint16_t flags = Get16(h + 6);
    const uint16_t method = Get16(h + 8);
    const uint16_t nameLength = Get16(h + 26);
    const uint16_t extraLength = Get16(h + 28);
    if (method != c.method || (method != 0 && method != 8) || nameLength != c.nameLength)
        return ZR_CORRUPT;
    if (!(flags & 8) && (Get32(h + 14) != c.crc || Get32(h + 18) != c.compressedSize ||
                         Get32(h + 22) != c.uncompressedSize))
        return ZR_CORRUPT;
    localExtra.resize(extraLength);
    const uint64_t extraPos = local + kLocalHeaderSize + nameLength;
    if (extraLength != 0 && source_.ReadAt(extraPos, &localExtra[0], extraLength) != extraLength)
        return ZR_READ;
    data.method = c.method;
    data.flags = c.flags;
    data.dosTime = c.dosTime;
    data.crc = c.crc;
    data.compressedSize = c.compressedSize;
    data.uncompressedSize = c.uncompressedSize;
    data.dataStart = extraPos + extraLength;
    if (data.dataStart + data.compressedSize > source_.Length())
        return ZR_CORRUPT;
    return ZR_OK;
}

int ZipReader::EntryName(const std::string& stored, wchar_t (&name)[MAX_PATH]) const {
    std::wstring wide;
    if (!ZipNameToWide(stored, wide))
        return ZR_CORRUPT;
    if (flavour_.cleanEntryNames)
        wide = CleanZipEntryName(std::move(wide));
    if (wide.size() >= MAX_PATH)
        return ZR_CORRUPT; // a cut name would name some other file
    std::copy(wide.begin(), wide.end(), name);
    name[wide.size()] = L'\0';
    return ZR_OK;
}

int ZipReader::BuildEntry(int index, ZipEntry& entry) {
    ZipEntryData data;
    std::string extra;
    const int r = PrepareEntry(index, data, extra);
    if (r != ZR_OK)
        return r;
    ZipEntry e = {};
    e.index = index;
    const int n = EntryName(header_.name, e.name);
    if (n != ZR_OK)
        return n;
    const uint32_t external = header_.externalAttributes;
    e.attributes =
        flavour_.attributesByHost
            ? ZipAttributesByHost(external, static_cast<uint8_t>(header_.versionMadeBy >> 8))
            : ZipAttributesCombined(external);
    FILETIME dos;
    ZipDosTimeToFileTime(header_.dosDate, header_.dosTime, flavour_.dosTimesAreLocal, dos);
    e.creationTime = e.accessTime = e.modificationTime = dos;
    ZipApplyExtendedTimes(extra, e.modificationTime, e.accessTime, e.creationTime);
    e.compressedSize = static_cast<int>(header_.compressedSize);
    e.uncompressedSize = static_cast<int>(header_.uncompressedSize);
    entry = e;
    return ZR_OK;
}

int ZipReader::GetEntry(int index, ZipEntry& entry) {
    if (index == -1) {
        entry = ZipEntry{};
        entry.index = entryCount_;
        return ZR_OK;
    }
    if (index < 0 || index >= entryCount_)
        return ZR_ARGS;
    CloseEntry();
    if (index == cachedIndex_) {
        entry = cachedEntry_;
        return ZR_OK;
    }
    const int r = BuildEntry(index, entry);
    if (r == ZR_OK) {
        cachedEntry_ = entry;
        cachedIndex_ = index;
    }
    return r;
}

int ZipReader::FindEntry(const wchar_t* name, bool ignoreCase, int& index, ZipEntry& entry) {
    index = -1;
    entry = ZipEntry{};
    entry.index = -1;
    if (!name)
        return ZR_ARGS;
    std::wstring wanted = name;
    if (wanted.size() >= 256)
        return ZR_NOTFOUND;
    // Before the conversion: in a double-byte code page a backslash byte may
    // be the second half of a character.
    std::replace(wanted.begin(), wanted.end(), L'\\', L'/');
    std::string stored;
    if (!ZipNameFromWide(wanted, stored) || stored.size() >= MAX_PATH)
        return ZR_NOTFOUND;
    CloseEntry();
    const auto& names = ignoreCase ? foldedNames_ : exactNames_;
    const auto it = names.find(ignoreCase ? ZipNameFoldKey(stored) : stored);
    if (it == names.end())
        return ZR_NOTFOUND;
    const int found = it->second;
    const int r = GetEntry(found, entry);
    if (r == ZR_OK)
        index = found;
    return r;
}

int ZipReader::OpenEntry(int index) {
    if (index < 0 || index >= entryCount_)
        return ZR_ARGS;
    CloseEntry();
    ZipEntryData data;
    std::string extra;
    const int r = PrepareEntry(index, data, extra);
    if (r != ZR_OK)
        return r;
    const int s = stream_.Open(source_, data, password_);
    if (s == UNZ_OK) {
        openIndex_ = index;
        return ZR_OK;
    }
    return s == UNZ_BADZIPFILE ? ZR_CORRUPT : ReadFailure(s);
}

int ZipReader::ReadEntry(void* buffer, unsigned int size) {
    if (openIndex_ < 0)
        return UNZ_PARAMERROR;
    return stream_.Read(buffer, size);
}

int ZipReader::CloseEntry() {
    if (openIndex_ < 0)
        return UNZ_OK;
    openIndex_ = -1;
    lastCloseResult_ = stream_.Close();
    return lastCloseResult_;
}

int ZipReader::ReadFailure(int unzResult) const {
    if (unzResult == UNZ_PASSWORD && flavour_.reportPasswordErrors)
        return ZR_PASSWORD;
    return ZR_FLATE;
}

int ZipReader::Unzip(int index, void* target, unsigned int length, int kind) {
    if (index < 0 || index >= entryCount_)
        return ZR_ARGS;
    if (kind == ZIP_MEMORY)
        return UnzipToMemory(index, target, length);
    if (kind == ZIP_HANDLE || kind == ZIP_FILENAME)
        return UnzipToFile(index, target, kind);
    return ZR_ARGS;
}

int ZipReader::UnzipToMemory(int index, void* buffer, unsigned int length) {
    if (!buffer)
        return ZR_ARGS;
    if (openIndex_ != index) {
        const int r = OpenEntry(index);
        if (r != ZR_OK)
            return r;
    }
    const int n = stream_.Read(buffer, length);
    if (n > 0) {
        if (!flavour_.moreUntilEmptyRead && stream_.AtEnd()) {
            CloseEntry();
            return ZR_OK;
        }
        return ZR_MORE;
    }
    const bool atEnd = stream_.AtEnd();
    CloseEntry();
    if (n == 0)
        return atEnd ? ZR_OK : ZR_FLATE;
    return ReadFailure(n);
}

int ZipReader::UnzipToFile(int index, void* target, int kind) {
    if (!target || (kind == ZIP_HANDLE && target == INVALID_HANDLE_VALUE))
        return ZR_ARGS;
    ZipEntry entry;
    int r = GetEntry(index, entry);
    if (r != ZR_OK)
        return r;
    const bool isFolder =
        (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) || EndsWithSlash(entry.name);
    if (kind == ZIP_HANDLE)
        return isFolder ? ZR_OK : CopyEntryTo(static_cast<HANDLE>(target), entry);

    const wchar_t* const name = static_cast<const wchar_t*>(target);
    ZipTargetPath path;
    if (!path.Resolve(baseDir_, name, flavour_.confineAbsoluteTargets))
        return ZR_NOFILE;
    const bool folderOnly = isFolder || EndsWithSlash(name);
    if (flavour_.createAllFolders || (path.IsRelative() && !path.HasParentReference()))
        path.CreateFolders(folderOnly, !flavour_.createAllFolders);
    if (folderOnly)
        return ZR_OK;
    const HANDLE file = CreateFileW(path.FullPath().c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, entry.attributes, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ZR_NOFILE;
    r = CopyEntryTo(file, entry);
    CloseHandle(file);
    return r;
}

int ZipReader::CopyEntryTo(HANDLE file, const ZipEntry& entry) {
    int r = OpenEntry(entry.index);
    if (r != ZR_OK)
        return r;
    if (output_.empty())
        output_.resize(kOutputSize);
    for (;;) {
        const int n = stream_.Read(output_.data(), static_cast<unsigned int>(output_.size()));
        if (n > 0) {
            if (!WriteAll(file, output_.data(), static_cast<size_t>(n))) {
                r = ZR_WRITE;
                break;
            }
            continue;
        }
        if (n == 0 && stream_.AtEnd()) {
            // Times the entry cannot name are left as the system set them.
            SetFileTime(file, TimeOrNull(entry.creationTime), TimeOrNull(entry.accessTime),
                        TimeOrNull(entry.modificationTime));
            r = ZR_OK;
        } else {
            r = n == 0 ? ZR_FLATE : ReadFailure(n);
        }
        break;
    }
    CloseEntry();
    return r;
}

} // namespace SkinUI
