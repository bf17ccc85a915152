#include <windows.h>
#include <shlwapi.h>

#include "ui/UIString.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>

namespace SkinUI {

namespace {

// Characters of text up to limit, stopping at its terminator.
int BoundedLength(LPCWSTR text, int limit) {
    int n = 0;
    while (n < limit && text[n] != 0) {
        ++n;
    }
    return n;
}

LPWSTR AllocChars(int count) {
    auto* block = static_cast<LPWSTR>(std::malloc(sizeof(wchar_t) * static_cast<size_t>(count)));
    if (block == nullptr) {
        std::abort(); // like operator new: the string types report no failures
    }
    return block;
}

// Formats with the Windows conventions into buffer (size characters with the
// terminator) and returns the characters written; a result that does not fit
// is cut and still terminated.
int FormatInto(LPWSTR buffer, int size, LPCWSTR format, va_list args) {
    buffer[0] = 0;
    const int written = ::wvnsprintfW(buffer, size, format, args);
    buffer[size - 1] = 0;
    if (written < 0 || written >= size) {
        return static_cast<int>(std::wcslen(buffer));
    }
    return written;
}

} // namespace

CUIString::CUIString() : m_pstr(m_szBuffer) {
    m_szBuffer[0] = 0;
}

CUIString::CUIString(wchar_t ch) : m_pstr(m_szBuffer) {
    m_szBuffer[0] = ch;
    m_szBuffer[1] = 0;
}

CUIString::CUIString(LPCWSTR text, int length) : m_pstr(m_szBuffer) {
    m_szBuffer[0] = 0;
    Assign(text, length);
}

CUIString::CUIString(const CUIString& src) : m_pstr(m_szBuffer) {
    m_szBuffer[0] = 0;
    Assign(src.m_pstr);
}

CUIString::~CUIString() {
    if (!IsLocal()) {
        std::free(m_pstr);
    }
}

void CUIString::SetLocal() {
    if (!IsLocal()) {
        std::free(m_pstr);
        m_pstr = m_szBuffer;
    }
}

void CUIString::Empty() {
    SetLocal();
    m_szBuffer[0] = 0;
}

int CUIString::GetLength() const {
    return static_cast<int>(std::wcslen(m_pstr));
}

bool CUIString::IsEmpty() const {
    return m_pstr[0] == 0;
}

wchar_t CUIString::GetAt(int index) const {
    return m_pstr[index];
}

LPCWSTR CUIString::GetData() const {
    return m_pstr;
}

CUIString::operator LPCWSTR() const {
    return m_pstr;
}

wchar_t CUIString::operator[](int index) const {
    return m_pstr[index];
}

void CUIString::SetAt(int index, wchar_t ch) {
    if (index >= 0 && index < GetLength()) {
        m_pstr[index] = ch;
    }
}

void CUIString::Assign(LPCWSTR text, int length) {
    if (text == nullptr) {
        text = L"";
    }
    if (length < 0) {
        length = static_cast<int>(std::wcslen(text));
    }
    // The source may lie inside this string's own buffer: it is read before
    // the old block is given up, and moved rather than copied.
    const int copied = BoundedLength(text, length);
    if (length >= MAX_LOCAL_STRING_LEN) {
        if (!IsLocal() && length <= GetLength()) {
            std::wmemmove(m_pstr, text, static_cast<size_t>(copied));
        } else {
            LPWSTR block = AllocChars(length + 1);
            std::wmemcpy(block, text, static_cast<size_t>(copied));
            if (!IsLocal()) {
                std::free(m_pstr);
            }
            m_pstr = block;
        }
    } else if (IsLocal()) {
        std::wmemmove(m_szBuffer, text, static_cast<size_t>(copied));
    } else {
        std::wmemcpy(m_szBuffer, text, static_cast<size_t>(copied));
        std::free(m_pstr);
        m_pstr = m_szBuffer;
    }
    std::wmemset(m_pstr + copied, 0, static_cast<size_t>(length - copied + 1));
}

void CUIString::Append(LPCWSTR text) {
    if (text == nullptr) {
        return;
    }
    const int length = GetLength();
    const int added = static_cast<int>(std::wcslen(text));
    const int total = length + added;
    if (total >= MAX_LOCAL_STRING_LEN) {
        // A fresh block keeps a source inside the old one readable.
        LPWSTR block = AllocChars(total + 1);
        std::wmemcpy(block, m_pstr, static_cast<size_t>(length));
        std::wmemcpy(block + length, text, static_cast<size_t>(added));
        block[total] = 0;
        if (!IsLocal()) {
            std::free(m_pstr);
        }
        m_pstr = block;
    } else if (IsLocal()) {
        std::wmemmove(m_szBuffer + length, text, static_cast<size_t>(added));
        m_szBuffer[total] = 0;
    } else {
        // A short text on the heap (assigned with a length beyond its end).
        std::wmemcpy(m_szBuffer, m_pstr, static_cast<size_t>(length));
        std::wmemcpy(m_szBuffer + length, text, static_cast<size_t>(added));
        m_szBuffer[total] = 0;
        std::free(m_pstr);
        m_pstr = m_szBuffer;
    }
}

const CUIString& CUIString::operator=(const CUIString& src) {
    Assign(src.m_pstr);
    return *this;
}

const CUIString& CUIString::operator=(LPCWSTR text) {
    Assign(text);
    return *this;
}

const CUIString& CUIString::operator=(wchar_t ch) {
    const wchar_t text[2] = {ch, 0};
    Assign(text);
    return *this;
}

CUIString CUIString::operator+(const CUIString& src) const {
    CUIString result(*this);
    result.Append(src.m_pstr);
    return result;
}

CUIString CUIString::operator+(LPCWSTR text) const {
    CUIString result(*this);
    result.Append(text);
    return result;
}

const CUIString& CUIString::operator+=(const CUIString& src) {
    Append(src.m_pstr);
    return *this;
}

const CUIString& CUIString::operator+=(LPCWSTR text) {
    Append(text);
    return *this;
}

const CUIString& CUIString::operator+=(wchar_t ch) {
    const wchar_t text[2] = {ch, 0};
    Append(text);
    return *this;
}

int CUIString::Compare(LPCWSTR text) const {
    return std::wcscmp(m_pstr, text != nullptr ? text : L"");
}

int CUIString::CompareNoCase(LPCWSTR text) const {
    return _wcsicmp(m_pstr, text != nullptr ? text : L"");
}

bool CUIString::operator==(LPCWSTR text) const {
    return Compare(text) == 0;
}
bool CUIString::operator!=(LPCWSTR text) const {
    return Compare(text) != 0;
}
bool CUIString::operator<=(LPCWSTR text) const {
    return Compare(text) <= 0;
}
bool CUIString::operator<(LPCWSTR text) const {
    return Compare(text) < 0;
}
bool CUIString::operator>=(LPCWSTR text) const {
    return Compare(text) >= 0;
}
bool CUIString::operator>(LPCWSTR text) const {
    return Compare(text) > 0;
}

void CUIString::MakeUpper() {
    for (LPWSTR p = m_pstr; *p != 0; ++p) {
        *p = static_cast<wchar_t>(std::towupper(*p));
    }
}

void CUIString::MakeLower() {
    for (LPWSTR p = m_pstr; *p != 0; ++p) {
        *p = static_cast<wchar_t>(std::towlower(*p));
    }
}

CUIString CUIString::Left(int length) const {
    const int total = GetLength();
    if (length < 0) {
        length = 0;
    }
    if (length > total) {
        length = total;
    }
    return CUIString(m_pstr, length);
}

CUIString CUIString::Mid(int pos, int length) const {
    const int total = GetLength();
    if (pos < 0) {
        pos = 0;
    }
    if (pos > total) {
        pos = total;
    }
    if (length < 0 || length > total - pos) {
        length = total - pos;
    }
    if (length <= 0) {
        return CUIString();
    }
    return CUIString(m_pstr + pos, length);
}

CUIString CUIString::Right(int length) const {
    const int total = GetLength();
    if (length < 0) {
        length = 0;
    }
    if (length > total) {
        length = total;
    }
    return CUIString(m_pstr + total - length, length);
}

int CUIString::Find(wchar_t ch, int start) const {
    if (start != 0 && (start < 0 || start >= GetLength())) {
        return -1;
    }
    LPCWSTR found = std::wcschr(m_pstr + start, ch);
    if (found == nullptr || *found == 0) {
        return -1;
    }
    return static_cast<int>(found - m_pstr);
}

int CUIString::Find(LPCWSTR text, int start) const {
    if (text == nullptr || start < 0 || start > GetLength()) {
        return -1;
    }
    if (text[0] == 0) {
        return start; // the runtime's search gives nothing on an empty tail
    }
    LPCWSTR found = std::wcsstr(m_pstr + start, text);
    return found == nullptr ? -1 : static_cast<int>(found - m_pstr);
}

int CUIString::ReverseFind(wchar_t ch) const {
    if (ch == 0) {
        return -1;
    }
    LPCWSTR found = std::wcsrchr(m_pstr, ch);
    return found == nullptr ? -1 : static_cast<int>(found - m_pstr);
}

int CUIString::Replace(LPCWSTR from, LPCWSTR to) {
    if (from == nullptr || from[0] == 0) {
        return 0; // nothing sensible to look for, and it would never end
    }
    // Private copies: either text may point into this string.
    const CUIString search(from);
    const CUIString replacement(to);
    const int searchLength = search.GetLength();
    const int replacementLength = replacement.GetLength();
    int count = 0;
    int pos = Find(search.GetData(), 0);
    while (pos >= 0) {
        CUIString rest = Mid(pos + searchLength);
        Assign(m_pstr, pos);
        Append(replacement.GetData());
        Append(rest.GetData());
        pos = Find(search.GetData(), pos + replacementLength);
        ++count;
    }
    return count;
}

int __cdecl CUIString::SmallFormat(LPCWSTR format, ...) {
    wchar_t buffer[MAX_LOCAL_STRING_LEN + 1];
    va_list args;
    va_start(args, format);
    const int written = FormatInto(buffer, MAX_LOCAL_STRING_LEN + 1, format, args);
    va_end(args);
    Assign(buffer, written);
    return written;
}

int __cdecl CUIString::Format(LPCWSTR format, ...) {
    // The formatter reports a cut result but not the size it needs: retry
    // with larger buffers up to a limit far beyond any text of a window.
    const int maxSize = 1 << 20;
    for (int size = 256;; size *= 2) {
        LPWSTR buffer = AllocChars(size);
        va_list args;
        va_start(args, format);
        buffer[0] = 0;
        const int written = ::wvnsprintfW(buffer, size, format, args);
        va_end(args);
        buffer[size - 1] = 0;
        const bool fits = written >= 0 && written < size - 1;
        if (fits || size >= maxSize) {
            const int length = fits ? written : static_cast<int>(std::wcslen(buffer));
            Assign(buffer, length);
            std::free(buffer);
            return length;
        }
        std::free(buffer);
    }
}

} // namespace SkinUI
