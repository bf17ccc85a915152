#pragma once
#include <windows.h>

namespace SkinUI {

// Wide text with a small inline buffer: names, class names and attribute
// values of a skin are almost always short, so they never touch the heap.
class CUIString {
public:
    enum { MAX_LOCAL_STRING_LEN = 63 };

    CUIString();
    CUIString(wchar_t ch);
    CUIString(LPCWSTR text, int length = -1);
    CUIString(const CUIString& src);
    ~CUIString();

    void Empty();
    int GetLength() const;
    bool IsEmpty() const;
    wchar_t GetAt(int index) const;
    void Append(LPCWSTR text);
    void Assign(LPCWSTR text, int length = -1);
    LPCWSTR GetData() const;

    void SetAt(int index, wchar_t ch);
    operator LPCWSTR() const;

    wchar_t operator[](int index) const;
    const CUIString& operator=(const CUIString& src);
    const CUIString& operator=(wchar_t ch);
    const CUIString& operator=(LPCWSTR text);

    CUIString operator+(const CUIString& src) const;
    CUIString operator+(LPCWSTR text) const;
    const CUIString& operator+=(const CUIString& src);
    const CUIString& operator+=(LPCWSTR text);
    const CUIString& operator+=(wchar_t ch);

    bool operator==(const CUIString& other) const { return Compare(other.m_pstr) == 0; }
    bool operator!=(const CUIString& other) const { return Compare(other.m_pstr) != 0; }
    bool operator==(LPCWSTR text) const;
    bool operator!=(LPCWSTR text) const;
    bool operator<=(LPCWSTR text) const;
    bool operator<(LPCWSTR text) const;
    bool operator>=(LPCWSTR text) const;
    bool operator>(LPCWSTR text) const;

    int Compare(LPCWSTR text) const;
    int CompareNoCase(LPCWSTR text) const;

    void MakeUpper();
    void MakeLower();

    CUIString Left(int length) const;
    CUIString Mid(int pos, int length = -1) const;
    CUIString Right(int length) const;

    int Find(wchar_t ch, int start = 0) const;
    int Find(LPCWSTR text, int start = 0) const;
    int ReverseFind(wchar_t ch) const;
    int Replace(LPCWSTR from, LPCWSTR to);

    // Both use the Windows formatter's conventions (wsprintf: %s is wide).
    // SmallFormat keeps at most MAX_LOCAL_STRING_LEN characters of the result.
    int __cdecl Format(LPCWSTR format, ...);
    int __cdecl SmallFormat(LPCWSTR format, ...);

private:
    bool IsLocal() const { return m_pstr == m_szBuffer; }
    void SetLocal();

    LPWSTR m_pstr;
    wchar_t m_szBuffer[MAX_LOCAL_STRING_LEN + 1];
};

// A plain text on the left compares the characters, not the pointers.
inline bool operator==(LPCWSTR text, const CUIString& s) {
    return s.Compare(text) == 0;
}
inline bool operator!=(LPCWSTR text, const CUIString& s) {
    return s.Compare(text) != 0;
}

} // namespace SkinUI
