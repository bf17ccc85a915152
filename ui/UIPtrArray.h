#pragma once
#include <windows.h>

namespace SkinUI {

// Growable array of untyped pointers; it never owns what they point to.
// After every successful append or insertion one free slot remains.
class CUIPtrArray {
public:
    explicit CUIPtrArray(int preallocSize = 0);
    CUIPtrArray(const CUIPtrArray& src);
    CUIPtrArray& operator=(const CUIPtrArray& src);
    ~CUIPtrArray();

    void Empty();
    void Resize(int size);
    bool IsEmpty() const;
    int Find(LPVOID data) const;
    bool Add(LPVOID data);
    bool SetAt(int index, LPVOID data);
    bool InsertAt(int index, LPVOID data);
    bool Remove(int index);
    int GetSize() const;
    LPVOID* GetData();

    LPVOID GetAt(int index) const;
    LPVOID operator[](int index) const;

private:
    bool GrowForOneMore();

    LPVOID* m_ppVoid;
    int m_nCount;
    int m_nAllocated;
};

} // namespace SkinUI
