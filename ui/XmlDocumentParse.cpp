#include <windows.h>

#include "ui/XmlDocument.h"

#include "ui/XmlCharClass.h"

#include <cstdlib>
#include <cwchar>

// The parser works in place on the document's own copy of the text: it
// writes terminators behind names, values and texts, and shortens values and
// texts where references are replaced. Every scan stops at the text's
// terminator, so damaged input ends in an error text, never outside the text.

namespace SkinUI {

using XmlCharClass::IsNameChar;
using XmlCharClass::IsSpace;

namespace {

void SkipSpace(LPWSTR& p) {
    while (IsSpace(*p)) {
        ++p;
    }
}

void SkipName(LPWSTR& p) {
    while (*p != 0 && IsNameChar(*p)) {
        ++p;
    }
}

// Length of word when p starts with it, else 0. Stops at the first
// difference, so it never reads past p's terminator.
int StartsWith(LPCWSTR p, LPCWSTR word) {
    int n = 0;
    for (; word[n] != 0; ++n) {
        if (p[n] != word[n]) {
            return 0;
        }
    }
    return n;
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

// A numeric reference behind "&#": decimal, or hexadecimal after "x". Code
// points outside Unicode, surrogates and 0 are no characters: such a
// reference stays in the text as written.
int ReadCharacterReference(LPCWSTR p, wchar_t out[2], int& outCount) {
    const unsigned long beyondUnicode = 0x110000;
    int n = 2;
    int base = 10;
    if (p[n] == L'x' || p[n] == L'X') {
        base = 16;
        ++n;
    }
    const int firstDigit = n;
    unsigned long code = 0;
    for (;; ++n) {
        const int digit =
            base == 16 ? HexDigit(p[n]) : (p[n] >= L'0' && p[n] <= L'9' ? p[n] - L'0' : -1);
        if (digit < 0) {
            break;
        }
        // Saturates instead of wrapping, whatever the number of digits.
        code = code >= beyondUnicode
                   ? beyondUnicode
                   : code * static_cast<unsigned long>(base) + static_cast<unsigned long>(digit);
    }
    if (n == firstDigit || p[n] != L';') {
        return 0;
    }
    if (code == 0 || code >= beyondUnicode || (code >= 0xD800 && code <= 0xDFFF)) {
        return 0;
    }
    if (code >= 0x10000) {
        code -= 0x10000;
        out[0] = static_cast<wchar_t>(0xD800 + (code >> 10));
        out[1] = static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
        outCount = 2;
    } else {
        out[0] = static_cast<wchar_t>(code);
        outCount = 1;
    }
    return n + 1;
}

// The reference at p (which stands at "&"): the number of characters it
// takes, with its replacement in out; 0 when it is none we know.
int ReadReference(LPCWSTR p, wchar_t out[2], int& outCount) {
    static const struct {
        LPCWSTR name;
        wchar_t ch;
    } entities[] = {
        {L"&amp;", L'&'}, {L"&lt;", L'<'}, {L"&gt;", L'>'}, {L"&quot;", L'"'}, {L"&apos;", L'\''},
    };
    for (const auto& entity : entities) {
        const int n = StartsWith(p, entity.name);
        if (n > 0) {
            out[0] = entity.ch;
            outCount = 1;
            return n;
        }
    }
    if (p[1] == L'#') {
        return ReadCharacterReference(p, out, outCount);
    }
    return 0;
}

// Copies the text at p up to stop (or the end of the text) onto dest with
// the references replaced. A replacement is never longer than its
// reference, so dest never overtakes p.
void CopyData(LPWSTR& p, LPWSTR& dest, wchar_t stop) {
    while (*p != 0 && *p != stop) {
        if (*p == L'&') {
            wchar_t out[2];
            int outCount = 0;
            const int taken = ReadReference(p, out, outCount);
            if (taken > 0) {
                for (int i = 0; i < outCount; ++i) {
                    *dest++ = out[i];
                }
                p += taken;
                continue;
            }
        }
        *dest++ = *p++;
    }
}

// Terminates a copied run at dest; characters freed by the shortening, up to
// and including end, become blanks.
void TerminateRun(LPWSTR dest, LPWSTR end) {
    if (dest >= end) {
        return;
    }
    *dest = 0;
    for (LPWSTR p = dest + 1; p < end; ++p) {
        *p = L' ';
    }
}

} // namespace

TXmlElementUI* CXmlDocument::NewElement(ULONG& index) {
    if (m_nElements >= m_nReservedElements) {
        const ULONG maxElements = 0x7FFFFFFF / sizeof(TXmlElementUI);
        if (m_nReservedElements > maxElements - m_nReservedElements / 2 - 500) {
            return nullptr;
        }
        const ULONG capacity = m_nReservedElements + m_nReservedElements / 2 + 500;
        auto* table = static_cast<TXmlElementUI*>(
            std::realloc(m_pElements, capacity * sizeof(TXmlElementUI)));
        if (table == nullptr) {
            return nullptr;
        }
        m_pElements = table;
        m_nReservedElements = capacity;
    }
    index = m_nElements++;
    TXmlElementUI* element = &m_pElements[index];
    element->iStart = element->iChild = element->iNext = element->iParent = element->iData = 0;
    return element;
}

bool CXmlDocument::Parse() {
    m_nElements = 0;
    ClearError();
    ULONG reserved = 0;
    if (NewElement(reserved) == nullptr) {
        return Fail(L"Out of memory", nullptr);
    }
    LPWSTR text = m_pstrXML;
    return ParseSequence(0, 0, text);
}

// The elements of one parent, up to its end tag (or the end of the text for
// the top level and the root's children).
bool CXmlDocument::ParseSequence(ULONG parent, int depth, LPWSTR& text) {
    ULONG previous = 0;
    SkipSpace(text);
    for (;;) {
        if (*text == 0 && parent <= 1) {
            return true;
        }
        SkipSpace(text);
        if (*text != L'<') {
            return Fail(L"Expected start tag", text);
        }
        if (text[1] == L'/') {
            return true;
        }
        *text++ = 0;
        SkipSpace(text);
        if (*text == L'!' || *text == L'?') {
            SkipMarkup(text);
        } else {
            ULONG element = 0;
            if (!ParseElement(parent, depth, element, text)) {
                return false;
            }
            if (previous != 0) {
                m_pElements[previous].iNext = element;
            } else if (parent > 0) {
                m_pElements[parent].iChild = element;
            }
            previous = element;
        }
        SkipSpace(text);
    }
}

// Comments and processing instructions. An unterminated one ends with the text.
bool CXmlDocument::SkipMarkup(LPWSTR& text) {
    const wchar_t* close = *text == L'!' ? L"->" : L"?>";
    for (; *text != 0; ++text) {
        if (text[0] == close[0] && text[1] == close[1]) {
            text += 2;
            return true;
        }
    }
    return false;
}

bool CXmlDocument::ParseElement(ULONG parent, int depth, ULONG& element, LPWSTR& text) {
    if (depth >= MAX_NESTING_DEPTH) {
        return Fail(L"Elements nested too deeply", text);
    }
    TXmlElementUI* record = NewElement(element);
    if (record == nullptr) {
        return Fail(L"Out of memory", text);
    }
    record->iStart = static_cast<ULONG>(text - m_pstrXML);
    record->iParent = parent;
    LPWSTR name = text;
    SkipName(text);
    if (*text == 0) {
        return Fail(L"Error parsing element name", text);
    }
    LPWSTR nameEnd = text;
    const size_t nameLength = static_cast<size_t>(nameEnd - name);
    if (*text != L'>' && *text != L'/') {
        if (!ParseAttributes(text)) {
            return false;
        }
    }
    SkipSpace(text);
    if (text[0] == L'/' && text[1] == L'>') {
        m_pElements[element].iData = static_cast<ULONG>(text - m_pstrXML);
        *text = 0;
        text += 2;
        *nameEnd = 0;
        return true;
    }
    if (*text != L'>') {
        return Fail(L"Expected start-tag closing", text);
    }
    ++text;
    m_pElements[element].iData = static_cast<ULONG>(text - m_pstrXML);
    *nameEnd = 0;
    LPWSTR dest = text;
    CopyData(text, dest, L'<');
    TerminateRun(dest, text);
    if (*text == 0 && parent <= 1) {
        return true;
    }
    if (*text != L'<') {
        return Fail(L"Expected end-tag start", text);
    }
    if (text[1] != L'/') {
        if (!ParseSequence(element, depth + 1, text)) {
            return false;
        }
    }
    if (text[0] != L'<' || text[1] != L'/') {
        return true;
    }
    *text = 0;
    text += 2;
    SkipSpace(text);
    if (std::wcsncmp(text, name, nameLength) != 0) {
        return Fail(L"Unmatched closing tag", text);
    }
    text += nameLength;
    SkipSpace(text);
    if (*text != L'>') {
        return Fail(L"Unmatched closing tag", text);
    }
    ++text;
    return true;
}

// The attributes of a start tag; text stands behind the element name.
bool CXmlDocument::ParseAttributes(LPWSTR& text) {
    *text++ = 0;
    for (;;) {
        SkipSpace(text);
        if (*text == 0 || *text == L'>' || *text == L'/') {
            return true;
        }
        SkipName(text);
        LPWSTR nameEnd = text;
        SkipSpace(text);
        if (*text != L'=') {
            return Fail(L"Error while parsing attributes", text);
        }
        *text++ = L' ';
        *nameEnd = 0;
        SkipSpace(text);
        if (*text != L'"') {
            return Fail(L"Expected attribute value", text);
        }
        ++text;
        LPWSTR dest = text;
        CopyData(text, dest, L'"');
        if (*text == 0) {
            return Fail(L"Error while parsing attribute string", text);
        }
        // The closing quotation mark is the terminator, or a blank when the
        // value got shorter.
        TerminateRun(dest, text + 1);
        ++text;
    }
}

} // namespace SkinUI
