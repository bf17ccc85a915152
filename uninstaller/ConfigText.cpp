#include <windows.h>

#include "ui/Win32Handles.h"
#include "uninstaller/ConfigText.h"

namespace {

constexpr UINT kInstallerCodePage = 936;
const char kUtf8Mark[] = "\xEF\xBB\xBF";

std::wstring Decode(UINT codePage, DWORD flags, const std::string& bytes, bool& ok) {
    ok = true;
    if (bytes.empty()) {
        return std::wstring();
    }
    const int size = static_cast<int>(bytes.size());
    const int n = ::MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    ok = n > 0;
    if (!ok) {
        return std::wstring();
    }
    std::wstring text(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(codePage, flags, bytes.data(), size, &text[0], n);
    return text;
}

bool HasUtf8Mark(const std::string& bytes) {
    return bytes.compare(0, 3, kUtf8Mark) == 0;
}

// The text after a UTF-16 mark; an odd last byte is no character and is not read.
std::wstring DecodeUtf16(const std::string& bytes) {
    const bool bigEndian = bytes[0] == '\xFE';
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (size_t at = 2; at + 1 < bytes.size(); at += 2) {
        const unsigned first = static_cast<unsigned char>(bytes[at]);
        const unsigned second = static_cast<unsigned char>(bytes[at + 1]);
        text.push_back(
            static_cast<wchar_t>(bigEndian ? (first << 8 | second) : (second << 8 | first)));
    }
    return text;
}

} // namespace

bool ReadConfigBytes(const std::wstring& path, std::string& bytes, size_t maxBytes) {
    const SkinUI::CFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                 nullptr));
    LARGE_INTEGER size = {};
    if (!file || !::GetFileSizeEx(file.Get(), &size) ||
        static_cast<ULONGLONG>(size.QuadPart) > maxBytes) {
        return false;
    }
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    return bytes.empty() ||
           (::ReadFile(file.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) &&
            read == bytes.size());
}

bool HasUtf16Mark(const std::string& bytes) {
    return bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                                 (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
}

std::wstring DecodeConfigText(const std::string& bytes) {
    const std::string body = HasUtf8Mark(bytes) ? bytes.substr(3) : bytes;
    bool ok = false;
    std::wstring text = Decode(CP_UTF8, MB_ERR_INVALID_CHARS, body, ok);
    if (!ok) {
        text = Decode(kInstallerCodePage, 0, body, ok);
    }
    return text;
}

std::wstring ReadConfigText(const std::wstring& path) {
    std::string bytes;
    if (!ReadConfigBytes(path, bytes, MAXDWORD)) {
        return std::wstring();
    }
    if (HasUtf16Mark(bytes)) {
        return DecodeUtf16(bytes);
    }
    if (bytes.size() > kMaxConfigBytes) {
        bool ok = false;
        return HasUtf8Mark(bytes) ? Decode(CP_UTF8, 0, bytes.substr(3), ok)
                                  : Decode(CP_ACP, 0, bytes, ok);
    }
    return DecodeConfigText(bytes);
}
