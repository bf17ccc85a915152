#pragma once
#include <windows.h>

#include "ui/ZipTypes.h"

namespace AppZip {

// The application's zip archive handle API (the plug-in archive is unpacked
// with it). Reading handles and writing handles share the handle record; every
// call returns a ZR_ result and keeps it as the last result (one for reading,
// one for writing).
using SkinUI::ZIP_FILENAME;
using SkinUI::ZIP_HANDLE;
using SkinUI::ZIP_KIND_READING;
using SkinUI::ZIP_KIND_WRITING;
using SkinUI::ZIP_MEMORY;
using SkinUI::ZipEntry;
using SkinUI::ZR_ARGS;
using SkinUI::ZR_CORRUPT;
using SkinUI::ZR_FLATE;
using SkinUI::ZR_MORE;
using SkinUI::ZR_NODUPH;
using SkinUI::ZR_NOFILE;
using SkinUI::ZR_NOTFOUND;
using SkinUI::ZR_NOTINITED;
using SkinUI::ZR_OK;
using SkinUI::ZR_PASSWORD;
using SkinUI::ZR_READ;
using SkinUI::ZR_SEEK;
using SkinUI::ZR_WRITE;
using SkinUI::ZR_ZMODE;

using SkinUI::ZipArchiveHandle;
typedef ZipArchiveHandle* ZipHandle;

// kind: ZIP_HANDLE (source is a HANDLE, used as is and left open; the archive
// starts at its current file position), ZIP_FILENAME (a wide file name) or
// ZIP_MEMORY (length bytes at source, kept alive while the handle is open).
// password: narrow, for entries with the traditional zip encryption; null (or
// empty) for none. Null on failure; the last result tells why (ZR_NOFILE also for an
// unreadable central directory).
ZipHandle ZipArchiveOpen(const void* source, unsigned int length, int kind,
                         const char* password = nullptr);
ZipHandle ZipArchiveOpen(const wchar_t* fileName, const char* password = nullptr);

// index -1: entry.index = number of entries, all else zero. Entry names are
// cleaned: no drive, no leading slash, nothing up to a parent reference.
int ZipArchiveGetItem(ZipHandle handle, int index, ZipEntry& entry);

// Relative extraction targets lie below this folder (the current directory
// at open until set) and never leave it.
int ZipArchiveSetBaseDir(ZipHandle handle, const wchar_t* folder);

// kind ZIP_MEMORY: fills target (length bytes); ZR_MORE while more of the
// entry follows, ZR_OK when its end was reached. ZIP_HANDLE: writes into the
// HANDLE target. ZIP_FILENAME: target is a wide path, created with its
// missing folders.
int ZipArchiveUnzipItem(ZipHandle handle, int index, void* target, unsigned int length, int kind);
int ZipArchiveUnzipItem(ZipHandle handle, int index, const wchar_t* fileName);

// A reading handle is closed; a writing handle first writes its central
// directory (ZR_WRITE when that fails). Frees the handle either way.
int ZipArchiveClose(ZipHandle handle);

bool ZipArchiveIsReading(ZipHandle handle);

int ZipArchiveGetLastResult();
int ZipArchiveGetLastWriteResult();

// A writing handle over a file name (ZIP_FILENAME), an open file handle
// (ZIP_HANDLE, left open) or a memory buffer of length bytes (ZIP_MEMORY).
// Nothing can be added yet: closing it writes an empty archive.
ZipHandle ZipArchiveCreate(void* target, unsigned int length, int kind);

} // namespace AppZip
