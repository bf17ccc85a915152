#pragma once
#include <windows.h>

#include <string>

// Converts between UTF-16 and one Windows code page. Callers pick the code
// page per use: 936 for texts handed in through the narrow interface and for
// server URLs, CP_UTF8 for everything that goes on the wire, CP_ACP (0) for
// the server list's keyword lists.
struct CodePageConverter {
    UINT codePage = CP_ACP;

    CodePageConverter() = default;
    explicit CodePageConverter(UINT page) : codePage(page) {}

    // Null or empty input, and a failed conversion, give an empty text;
    // characters the code page cannot represent become its replacement
    // characters.
    std::wstring ToWide(const char* text) const;
    std::string ToMultiByte(const wchar_t* text) const;

    // The text up to its first NUL, as the pointer forms read it.
    std::wstring ToWide(const std::string& text) const { return ToWide(text.c_str()); }
    std::string ToMultiByte(const std::wstring& text) const { return ToMultiByte(text.c_str()); }
};
