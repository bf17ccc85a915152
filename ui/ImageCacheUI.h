#pragma once
#include <windows.h>

#include "ui/RenderResourcesUI.h"

namespace SkinUI {

// Decoded images shared by every window of the process. A record is keyed
// by where its bytes come from (the skin archive, a module resource or a
// file with its write time and size) and by its name, resource type and
// mask, so a later window of the same skin decodes nothing. Each holder
// (the cache itself and every manager that uses the record) keeps one
// reference; a record is freed with its last reference. The cache lets go
// of its references when the skin archive changes (seen at the next
// request); the rest goes with the process. Threads that run windows only.
class CImageCacheUI {
public:
    // A referenced record, decoded on first use; null when loading fails
    // (nothing is kept, the next call tries again).
    static TImageRecordUI* Acquire(LPCWSTR name, LPCWSTR type, DWORD mask);
    static void Release(TImageRecordUI* image);
    // Drops the cache's own references (records still held stay valid).
    static void Clear();
    // Records the cache holds now.
    static int GetCount();
};

} // namespace SkinUI
