#include <windows.h>

#include "uninstaller/TextConvert.h"

namespace {

std::string FromWide(UINT codePage, const wchar_t* text, int length) {
    if (!text || length == 0)
        return {};
    const int n = WideCharToMultiByte(codePage, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return {};
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text, length, &out[0], n, nullptr, nullptr);
    if (length < 0)
        out.resize(static_cast<size_t>(n) - 1); // drop the converted terminator
    return out;
}

} // namespace

std::string WideToUtf8(const wchar_t* text) {
    return FromWide(CP_UTF8, text, -1);
}

std::string WideToUtf8(const std::wstring& text) {
    return FromWide(CP_UTF8, text.data(), static_cast<int>(text.size()));
}

std::wstring Utf8ToWide(const char* text) {
    if (!text || !*text)
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (n <= 1)
        return {};
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, &out[0], n);
    out.resize(static_cast<size_t>(n) - 1);
    return out;
}

std::wstring CleanOtherReasonText(const std::wstring& text) {
    std::wstring cleaned;
    cleaned.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'\r') {
            // Only a line feed belongs to the line end; anything else after a lone CR is text.
            if (i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
            c = L' ';
        }
        if (c == L' ' && !cleaned.empty() && cleaned.back() == L' ')
            continue;
        cleaned += c;
    }
    return cleaned;
}
