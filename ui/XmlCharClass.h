#pragma once
#include <windows.h>

#include <cwctype>

// Character classes of the skin XML syntax, shared by the parser and the
// attribute mapping of nodes.
namespace SkinUI {
namespace XmlCharClass {

// Whitespace is every control character and the blank.
inline bool IsSpace(wchar_t c) {
    return c >= 1 && c <= 32;
}

// Element and attribute names: letters, digits, "_" and ":".
inline bool IsNameChar(wchar_t c) {
    if (c < 128) {
        return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
               c == L'_' || c == L':';
    }
    return std::iswalpha(c) || std::iswdigit(c);
}

} // namespace XmlCharClass
} // namespace SkinUI
