#include <windows.h>

#include "uninstaller/ConfigFileCopy.h"

namespace {

// A configuration is a few kilobytes; anything far beyond is read where it is.
constexpr DWORD kMaxConfigBytes = 16u << 20;
constexpr UINT kInstallerCodePage = 936;

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    LARGE_INTEGER size = {};
    bool ok = ::GetFileSizeEx(file, &size) && size.QuadPart <= kMaxConfigBytes;
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = bytes.empty() ||
             (::ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) &&
              read == bytes.size());
    }
    ::CloseHandle(file);
    return ok;
}

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

bool HasUtf16Mark(const std::string& bytes) {
    return bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                                 (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
}

std::wstring TempCopyPath() {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    wchar_t path[MAX_PATH] = {};
    if (length == 0 || length > MAX_PATH || ::GetTempFileNameW(folder, L"cfg", 0, path) == 0) {
        return std::wstring();
    }
    return path;
}

bool WriteUtf16(const std::wstring& path, const std::wstring& text) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const std::wstring marked = L"\xFEFF" + text;
    const DWORD bytes = static_cast<DWORD>(marked.size() * sizeof(wchar_t));
    DWORD written = 0;
    const bool ok = ::WriteFile(file, marked.data(), bytes, &written, nullptr) && written == bytes;
    ::CloseHandle(file);
    return ok;
}

} // namespace

std::wstring DecodeConfigText(const std::string& bytes) {
    const bool utf8Mark = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
    const std::string body = utf8Mark ? bytes.substr(3) : bytes;
    bool ok = false;
    std::wstring text = Decode(CP_UTF8, MB_ERR_INVALID_CHARS, body, ok);
    if (!ok) {
        text = Decode(kInstallerCodePage, 0, body, ok);
    }
    return text;
}

ConfigFileCopy::ConfigFileCopy(const std::wstring& configPath) : original_(configPath) {
    std::string bytes;
    if (!ReadWholeFile(configPath, bytes) || HasUtf16Mark(bytes)) {
        return;
    }
    const std::wstring copy = TempCopyPath();
    if (copy.empty()) {
        return;
    }
    if (WriteUtf16(copy, DecodeConfigText(bytes))) {
        copy_ = copy;
    } else {
        ::DeleteFileW(copy.c_str());
    }
}

ConfigFileCopy::~ConfigFileCopy() {
    if (!copy_.empty()) {
        ::DeleteFileW(copy_.c_str());
    }
}
