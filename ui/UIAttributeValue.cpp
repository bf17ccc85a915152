#include <windows.h>

#include "ui/UIAttributeValue.h"

#include <climits>
#include <cstdint>
#include <cwchar>

namespace SkinUI {

namespace {

bool IsCSpace(wchar_t ch) {
    return ch == L' ' || (ch >= L'\t' && ch <= L'\r');
}

int HexDigit(wchar_t ch) {
    if (ch >= L'0' && ch <= L'9') {
        return ch - L'0';
    }
    if (ch >= L'a' && ch <= L'f') {
        return ch - L'a' + 10;
    }
    if (ch >= L'A' && ch <= L'F') {
        return ch - L'A' + 10;
    }
    return -1;
}

} // namespace

int ParseDecimalValue(LPCWSTR text, LPCWSTR* end) {
    if (end != nullptr) {
        *end = text;
    }
    if (text == nullptr) {
        return 0;
    }
    LPCWSTR p = text;
    while (IsCSpace(*p)) {
        ++p;
    }
    bool negative = false;
    if (*p == L'+' || *p == L'-') {
        negative = *p == L'-';
        ++p;
    }
    if (*p < L'0' || *p > L'9') {
        return 0;
    }
    // Kept within one step of the int range so it never overflows.
    const int64_t limit = negative ? -static_cast<int64_t>(INT_MIN) : INT_MAX;
    int64_t value = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        value = value * 10 + (*p - L'0');
        if (value > limit) {
            value = limit;
        }
    }
    if (end != nullptr) {
        *end = p;
    }
    return static_cast<int>(negative ? -value : value);
}

void ParseIntListValue(LPCWSTR text, int* values, int count) {
    for (int i = 0; i < count; ++i) {
        values[i] = 0;
    }
    if (text == nullptr) {
        return;
    }
    LPCWSTR p = text;
    for (int i = 0; i < count; ++i) {
        LPCWSTR end = p;
        values[i] = ParseDecimalValue(p, &end);
        // The separator is one character; the terminator ends the list.
        if (*end == L'\0') {
            return;
        }
        p = end + 1;
    }
}

RECT ParseRectValue(LPCWSTR text) {
    int v[4];
    ParseIntListValue(text, v, 4);
    return RECT{v[0], v[1], v[2], v[3]};
}

SIZE ParseSizeValue(LPCWSTR text) {
    int v[2];
    ParseIntListValue(text, v, 2);
    return SIZE{v[0], v[1]};
}

DWORD ParseColorValue(LPCWSTR text, bool skipBlanks) {
    if (text == nullptr) {
        return 0;
    }
    LPCWSTR p = text;
    if (skipBlanks) {
        while (*p != L'\0' && *p <= L' ') {
            ++p;
        }
    }
    if (*p == L'#') {
        ++p;
    }
    if (p[0] == L'0' && (p[1] == L'x' || p[1] == L'X') && HexDigit(p[2]) >= 0) {
        p += 2;
    }
    uint64_t value = 0;
    for (int digit = HexDigit(*p); digit >= 0; digit = HexDigit(*++p)) {
        value = value * 16 + static_cast<uint64_t>(digit);
        if (value > 0xFFFFFFFFu) {
            value = 0xFFFFFFFFu;
        }
    }
    return static_cast<DWORD>(value);
}

bool ParseBoolValue(LPCWSTR text) {
    return text != nullptr && std::wcscmp(text, L"true") == 0;
}

} // namespace SkinUI
