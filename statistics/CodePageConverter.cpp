#include <windows.h>

#include "statistics/CodePageConverter.h"

#include <vector>

std::wstring CodePageConverter::ToWide(const char* text) const {
    if (text == nullptr || text[0] == '\0') {
        return std::wstring();
    }
    const int needed = ::MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (needed <= 0) {
        return std::wstring();
    }
    std::vector<wchar_t> buffer(static_cast<size_t>(needed) + 1, L'\0');
    if (::MultiByteToWideChar(codePage, 0, text, -1, buffer.data(), needed) <= 0) {
        return std::wstring();
    }
    return std::wstring(buffer.data());
}

std::string CodePageConverter::ToMultiByte(const wchar_t* text) const {
    if (text == nullptr || text[0] == L'\0') {
        return std::string();
    }
    const int needed = ::WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        return std::string();
    }
    std::vector<char> buffer(static_cast<size_t>(needed) + 1, '\0');
    if (::WideCharToMultiByte(codePage, 0, text, -1, buffer.data(), needed, nullptr, nullptr) <=
        0) {
        return std::string();
    }
    return std::string(buffer.data());
}
