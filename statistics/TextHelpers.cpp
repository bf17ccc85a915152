#include <windows.h>
#include <objbase.h>

#include "statistics/TextHelpers.h"
#include "statistics/CodePageConverter.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <cwchar>

namespace {

bool IsAsciiLetterOrDigit(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Directory part without the MAX_PATH limit of the public form.
std::wstring DirectoryOf(std::wstring path) {
    for (wchar_t& c : path) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    const size_t lastSlash = path.rfind(L'\\');
    if (lastSlash == std::wstring::npos) {
        return L".\\";
    }
    return path.substr(0, lastSlash + 1);
}

// Its address identifies the module this code is linked into.
const int s_moduleMarker = 0;

HMODULE OwnModule() {
    MEMORY_BASIC_INFORMATION info = {};
    if (::VirtualQuery(&s_moduleMarker, &info, sizeof(info)) == 0) {
        return nullptr;
    }
    return static_cast<HMODULE>(info.AllocationBase);
}

} // namespace

std::wstring ModulePath(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(path.size());
        const DWORD length = ::GetModuleFileNameW(module, &path[0], size);
        if (length == 0) {
            return std::wstring();
        }
        if (length < size) {
            path.resize(length);
            return path;
        }
        // Truncated: a long path must not yield a wrong folder.
        if (size >= 32768) {
            return std::wstring();
        }
        path.assign(size * 2, L'\0');
    }
}

std::string PercentEncode(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size() * 3);
    for (const char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (IsAsciiLetterOrDigit(c)) {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0x0F];
        }
    }
    return encoded;
}

bool ReplaceWideChar(wchar_t* text, wchar_t find, wchar_t replacement) {
    if (text == nullptr || text[0] == L'\0') {
        return false;
    }
    for (wchar_t* p = text; *p != L'\0'; ++p) {
        if (*p == find) {
            *p = replacement;
        }
    }
    return true;
}

bool GetDirectoryPart(const wchar_t* path, wchar_t (&out)[MAX_PATH]) {
    if (path == nullptr || path[0] == L'\0') {
        return false;
    }
    const std::wstring dir = DirectoryOf(path);
    if (dir.size() >= MAX_PATH) {
        out[0] = L'\0';
        return false;
    }
    std::wmemcpy(out, dir.c_str(), dir.size() + 1);
    return out[0] != L'\0';
}

bool GetModuleDirectory(std::wstring& dir) {
    const HMODULE module = OwnModule();
    if (module == nullptr) {
        return false;
    }
    const std::wstring path = ModulePath(module);
    if (path.empty()) {
        return false;
    }
    dir = DirectoryOf(path);
    return !dir.empty();
}

void GetLocalTimeText(std::string& out) {
    out.clear();
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    if (localtime_s(&local, &now) != 0) {
        return;
    }
    wchar_t buffer[128] = {};
    if (std::wcsftime(buffer, 128, L"%Y-%m-%d %H:%M:%S", &local) == 0) {
        return;
    }
    out = CodePageConverter(CP_ACP).ToMultiByte(buffer);
}

bool NewSessionIdText(std::string& out) {
    GUID guid = {};
    if (FAILED(::CoCreateGuid(&guid))) {
        return false;
    }
    char text[16] = {};
    std::snprintf(text, sizeof(text), "%08lX", static_cast<unsigned long>(guid.Data1));
    out = text;
    return true;
}

bool SplitBySemicolon(const char* text, size_t length, std::vector<std::string>& items) {
    if (text == nullptr || length == 0) {
        return false;
    }
    // The text ends at the given length or at an earlier NUL.
    const void* nul = std::memchr(text, '\0', length);
    const size_t used = nul ? static_cast<size_t>(static_cast<const char*>(nul) - text) : length;
    const std::string whole(text, used);
    size_t start = 0;
    while (start <= whole.size()) {
        size_t end = whole.find(';', start);
        if (end == std::string::npos) {
            end = whole.size();
        }
        if (end > start) {
            items.push_back(whole.substr(start, end - start));
        }
        start = end + 1;
    }
    return !items.empty();
}
