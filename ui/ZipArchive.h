#pragma once
#include <windows.h>

#include "ui/ZipTypes.h"

namespace SkinUI {

// The framework's zip archive handle API: skin files and images are read out
// of an archive held in memory (or in a file). Every call returns a ZR_ result
// and keeps it as the last result.
typedef ZipArchiveHandle* ZipHandle;

// kind: ZIP_HANDLE (source is a HANDLE; duplicated, the duplicate closed at
// ZipArchiveClose; the archive starts at its current file position),
// ZIP_FILENAME (a wide file name) or ZIP_MEMORY (length bytes at source, kept
// alive by the caller while the handle is open). Null on failure; the last
// result tells why (for an unreadable central directory: -1 or -103).
ZipHandle ZipArchiveOpen(const void* source, unsigned int length, int kind);

// Finds an entry by name ("\" matches "/"; ignoreCase folds ASCII letters).
// ZR_NOTFOUND leaves index -1 and entry zero with index -1.
int ZipArchiveFindItem(ZipHandle handle, const wchar_t* name, bool ignoreCase, int& index,
                       ZipEntry& entry);

// kind ZIP_MEMORY: fills target (length bytes); ZR_MORE for every call that
// delivered bytes (the entry stays open and the next call goes on), ZR_OK
// for the call that finds the end. ZIP_HANDLE: writes into the HANDLE target.
// ZIP_FILENAME: target is a wide path below the folder that was current at
// open (relative to it, or absolute); a path that leaves it gives ZR_NOFILE.
int ZipArchiveUnzipItem(ZipHandle handle, int index, void* target, unsigned int length, int kind);

int ZipArchiveClose(ZipHandle handle);

int ZipArchiveGetLastResult();

} // namespace SkinUI
