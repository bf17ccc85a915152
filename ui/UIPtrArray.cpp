#include <windows.h>

#include "ui/UIPtrArray.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace SkinUI {

CUIPtrArray::CUIPtrArray(int preallocSize) : m_ppVoid(nullptr), m_nCount(0), m_nAllocated(0) {
    if (preallocSize > 0) {
        m_ppVoid =
            static_cast<LPVOID*>(std::malloc(static_cast<size_t>(preallocSize) * sizeof(LPVOID)));
        if (m_ppVoid != nullptr) {
            m_nAllocated = preallocSize;
        }
    }
}

CUIPtrArray::CUIPtrArray(const CUIPtrArray& src) : m_ppVoid(nullptr), m_nCount(0), m_nAllocated(0) {
    for (int i = 0; i < src.GetSize(); ++i) {
        Add(src.GetAt(i));
    }
}

CUIPtrArray& CUIPtrArray::operator=(const CUIPtrArray& src) {
    if (this != &src) {
        Empty();
        for (int i = 0; i < src.GetSize(); ++i) {
            Add(src.GetAt(i));
        }
    }
    return *this;
}

CUIPtrArray::~CUIPtrArray() {
    std::free(m_ppVoid);
}

void CUIPtrArray::Empty() {
    std::free(m_ppVoid);
    m_ppVoid = nullptr;
    m_nCount = m_nAllocated = 0;
}

void CUIPtrArray::Resize(int size) {
    Empty();
    if (size <= 0) {
        return;
    }
    m_ppVoid = static_cast<LPVOID*>(std::calloc(static_cast<size_t>(size), sizeof(LPVOID)));
    if (m_ppVoid != nullptr) {
        m_nAllocated = m_nCount = size;
    }
}

bool CUIPtrArray::IsEmpty() const {
    return m_nCount == 0;
}

int CUIPtrArray::GetSize() const {
    return m_nCount;
}

LPVOID* CUIPtrArray::GetData() {
    return m_ppVoid;
}

// Makes room before anything is stored, so a failure leaves the array as it was.
bool CUIPtrArray::GrowForOneMore() {
    if (m_nCount + 1 < m_nAllocated) {
        return true;
    }
    const int maxSlots = static_cast<int>(INT_MAX / sizeof(LPVOID));
    int capacity = m_nAllocated == 0 ? 11 : m_nAllocated;
    while (capacity <= m_nCount + 1) {
        if (capacity > maxSlots / 2) {
            return false;
        }
        capacity *= 2;
    }
    auto* block = static_cast<LPVOID*>(
        std::realloc(m_ppVoid, static_cast<size_t>(capacity) * sizeof(LPVOID)));
    if (block == nullptr) {
        return false;
    }
    m_ppVoid = block;
    m_nAllocated = capacity;
    return true;
}

bool CUIPtrArray::Add(LPVOID data) {
    if (!GrowForOneMore()) {
        return false;
    }
    m_ppVoid[m_nCount++] = data;
    return true;
}

bool CUIPtrArray::InsertAt(int index, LPVOID data) {
    if (index == m_nCount) {
        return Add(data);
    }
    if (index < 0 || index > m_nCount) {
        return false;
    }
    if (!GrowForOneMore()) {
        return false;
    }
    std::memmove(&m_ppVoid[index + 1], &m_ppVoid[index],
                 static_cast<size_t>(m_nCount - index) * sizeof(LPVOID));
    m_ppVoid[index] = data;
    ++m_nCount;
    return true;
}

bool CUIPtrArray::SetAt(int index, LPVOID data) {
    if (index < 0 || index >= m_nCount) {
        return false;
    }
    m_ppVoid[index] = data;
    return true;
}

bool CUIPtrArray::Remove(int index) {
    if (index < 0 || index >= m_nCount) {
        return false;
    }
    if (index < --m_nCount) {
        std::memmove(&m_ppVoid[index], &m_ppVoid[index + 1],
                     static_cast<size_t>(m_nCount - index) * sizeof(LPVOID));
    }
    return true;
}

int CUIPtrArray::Find(LPVOID data) const {
    for (int i = 0; i < m_nCount; ++i) {
        if (m_ppVoid[i] == data) {
            return i;
        }
    }
    return -1;
}

LPVOID CUIPtrArray::GetAt(int index) const {
    if (index < 0 || index >= m_nCount) {
        return nullptr;
    }
    return m_ppVoid[index];
}

LPVOID CUIPtrArray::operator[](int index) const {
    return m_ppVoid[index];
}

} // namespace SkinUI
