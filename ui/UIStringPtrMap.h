#pragma once
#include <windows.h>

#include "ui/UIString.h"

namespace SkinUI {

// Hash map from text keys to untyped pointers. It owns its nodes and keys,
// not the values. Lookups move the node found to the front of its chain, so
// frequent keys stay cheap; the bucket count changes only through Resize.
class CUIStringPtrMap {
public:
    explicit CUIStringPtrMap(int size = 83);
    ~CUIStringPtrMap();
    CUIStringPtrMap(const CUIStringPtrMap&) = delete;
    CUIStringPtrMap& operator=(const CUIStringPtrMap&) = delete;

    void Resize(int size = 83);
    LPVOID Find(LPCWSTR key, bool optimize = true) const;
    bool Insert(LPCWSTR key, LPVOID data);
    LPVOID Set(LPCWSTR key, LPVOID data);
    bool Remove(LPCWSTR key);
    void RemoveAll();
    // Hands every value to freeValue in one walk of the buckets, then empties
    // the map (walking by index would restart at the first bucket each time).
    void RemoveAll(void (*freeValue)(LPVOID));
    int GetSize() const;
    LPCWSTR GetAt(int index) const;
    LPCWSTR operator[](int index) const;

    static UINT HashKey(LPCWSTR key);

private:
    struct TITEM {
        CUIString Key;
        LPVOID Data;
        TITEM* pPrev;
        TITEM* pNext;
    };

    TITEM* FindItem(LPCWSTR key, bool optimize) const;
    void FreeAll();

    TITEM** m_aT;
    UINT m_nBuckets;
    int m_nCount;
};

} // namespace SkinUI
