#pragma once
#include <windows.h>

#include "ui/UIString.h"
#include "ui/ZipArchive.h"

#include <vector>

namespace SkinUI {

// Where the skin comes from, for the whole process: the module instance, the
// folder of skin files and the skin archive held in memory. The XML reader,
// the renderer and the window base read it; the window manager forwards its
// own static operations of the same names here.
class CSkinSourceUI {
public:
    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetInstance();
    static HINSTANCE GetResourceInstance();
    static CUIString GetInstancePath();
    static void SetResourcePath(LPCWSTR path);
    static const CUIString& GetResourcePath();
    // The skin archive in memory; the caller keeps the bytes alive for the
    // life of the process. Only the first archive in memory is taken.
    static ZipHandle SetResourceZip(LPVOID bytes, unsigned int length);
    // "membuffer" once a skin archive in memory is set, else empty.
    static const CUIString& GetResourceZip();
    static bool IsCachedResourceZip();
    static ZipHandle GetResourceZipHandle();

    // Reading one item of the skin archive in memory (name looked up
    // ignoring case) into bytes, refusing items larger than maxSize.
    enum ResourceZipReadUI {
        ZIPREAD_OK = 0,
        ZIPREAD_NO_ARCHIVE,  // no archive in memory is open
        ZIPREAD_NOT_FOUND,   // no item has the name
        ZIPREAD_EMPTY,       // the item has no bytes
        ZIPREAD_TOO_LARGE,   // the item is larger than maxSize
        ZIPREAD_UNZIP_FAILED // extraction failed
    };
    // Largest image file read from the skin archive or a file.
    enum { MAX_IMAGE_FILE_SIZE = 32 * 1024 * 1024 };
    static ResourceZipReadUI ReadResourceZipItem(LPCWSTR name, DWORD maxSize,
                                                 std::vector<BYTE>& bytes);
};

} // namespace SkinUI
