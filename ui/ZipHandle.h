#pragma once
#include <windows.h>

#include "ui/ZipTypes.h"

namespace SkinUI {

class ZipReader;

// The handle layer that the framework's and the application's handle APIs
// share: both hand out ZipArchiveHandle records over a ZipReader.

// Opens a reader of the given flavour; null on failure, with the reason in
// result either way.
ZipArchiveHandle* OpenReadingHandle(const ZipFlavour& flavour, const void* source,
                                    unsigned int length, int kind, const char* password,
                                    int& result);

// The reader behind a reading handle, or the result that says why there is none.
int ReaderOfHandle(const ZipArchiveHandle* handle, ZipReader*& reader);

// Closes the reader of a reading handle and frees both.
void CloseReadingHandle(ZipArchiveHandle* handle);

} // namespace SkinUI
