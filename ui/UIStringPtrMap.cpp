#include <windows.h>

#include "ui/UIStringPtrMap.h"

namespace SkinUI {

UINT CUIStringPtrMap::HashKey(LPCWSTR key) {
    UINT hash = 0;
    if (key == nullptr) {
        return hash;
    }
    const wchar_t* end = key;
    while (*end != 0) {
        ++end;
    }
    while (end != key) {
        --end;
        hash = hash * 33u + static_cast<UINT>(*end);
    }
    return hash;
}

CUIStringPtrMap::CUIStringPtrMap(int size) : m_aT(nullptr), m_nBuckets(0), m_nCount(0) {
    Resize(size < 16 ? 16 : size);
}

CUIStringPtrMap::~CUIStringPtrMap() {
    FreeAll();
}

void CUIStringPtrMap::FreeAll() {
    for (UINT bucket = 0; bucket < m_nBuckets; ++bucket) {
        TITEM* item = m_aT[bucket];
        while (item != nullptr) {
            TITEM* next = item->pNext;
            delete item;
            item = next;
        }
    }
    delete[] m_aT;
    m_aT = nullptr;
    m_nBuckets = 0;
    m_nCount = 0;
}

void CUIStringPtrMap::Resize(int size) {
    FreeAll();
    if (size <= 0) {
        return;
    }
    m_aT = new TITEM*[static_cast<size_t>(size)]();
    m_nBuckets = static_cast<UINT>(size);
}

void CUIStringPtrMap::RemoveAll() {
    Resize(static_cast<int>(m_nBuckets));
}

void CUIStringPtrMap::RemoveAll(void (*freeValue)(LPVOID)) {
    for (UINT bucket = 0; bucket < m_nBuckets; ++bucket) {
        for (const TITEM* item = m_aT[bucket]; item != nullptr; item = item->pNext)
            freeValue(item->Data);
    }
    RemoveAll();
}

CUIStringPtrMap::TITEM* CUIStringPtrMap::FindItem(LPCWSTR key, bool optimize) const {
    if (m_nBuckets == 0 || key == nullptr || GetSize() == 0) {
        return nullptr;
    }
    const UINT slot = HashKey(key) % m_nBuckets;
    for (TITEM* item = m_aT[slot]; item != nullptr; item = item->pNext) {
        if (item->Key == key) {
            if (optimize && item != m_aT[slot]) {
                // Move to front: unlink, then make it the head.
                item->pPrev->pNext = item->pNext;
                if (item->pNext != nullptr) {
                    item->pNext->pPrev = item->pPrev;
                }
                item->pPrev = nullptr;
                item->pNext = m_aT[slot];
                m_aT[slot]->pPrev = item;
                m_aT[slot] = item;
            }
            return item;
        }
    }
    return nullptr;
}

LPVOID CUIStringPtrMap::Find(LPCWSTR key, bool optimize) const {
    const TITEM* item = FindItem(key, optimize);
    return item == nullptr ? nullptr : item->Data;
}

bool CUIStringPtrMap::Insert(LPCWSTR key, LPVOID data) {
    if (m_nBuckets == 0 || key == nullptr) {
        return false;
    }
    if (Find(key) != nullptr) {
        return false;
    }
    const UINT slot = HashKey(key) % m_nBuckets;
    auto* item = new TITEM;
    item->Key = key;
    item->Data = data;
    item->pPrev = nullptr;
    item->pNext = m_aT[slot];
    if (item->pNext != nullptr) {
        item->pNext->pPrev = item;
    }
    m_aT[slot] = item;
    ++m_nCount;
    return true;
}

LPVOID CUIStringPtrMap::Set(LPCWSTR key, LPVOID data) {
    if (TITEM* item = FindItem(key, true)) {
        LPVOID previous = item->Data;
        item->Data = data;
        return previous;
    }
    Insert(key, data);
    return nullptr;
}

bool CUIStringPtrMap::Remove(LPCWSTR key) {
    TITEM* item = FindItem(key, false);
    if (item == nullptr) {
        return false;
    }
    const UINT slot = HashKey(key) % m_nBuckets;
    if (item->pPrev != nullptr) {
        item->pPrev->pNext = item->pNext;
    } else {
        m_aT[slot] = item->pNext;
    }
    if (item->pNext != nullptr) {
        item->pNext->pPrev = item->pPrev;
    }
    delete item;
    --m_nCount;
    return true;
}

int CUIStringPtrMap::GetSize() const {
    return m_nCount;
}

LPCWSTR CUIStringPtrMap::GetAt(int index) const {
    if (index < 0 || index >= m_nCount) {
        return nullptr;
    }
    int position = 0;
    for (UINT bucket = m_nBuckets; bucket-- > 0;) {
        for (const TITEM* item = m_aT[bucket]; item != nullptr; item = item->pNext) {
            if (position++ == index) {
                return item->Key.GetData();
            }
        }
    }
    return nullptr;
}

LPCWSTR CUIStringPtrMap::operator[](int index) const {
    return GetAt(index);
}

} // namespace SkinUI
