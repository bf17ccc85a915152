#include <windows.h>

#include "uninstaller/LongPath.h"

namespace {

// CreateDirectoryW and RemoveDirectoryW fail 12 characters before MAX_PATH (room for an 8.3
// name); the prefix does no harm to shorter paths, so it starts there for every call.
constexpr size_t kLongPathThreshold = MAX_PATH - 12;

bool HasPrefix(const std::wstring& text, const wchar_t* prefix) {
    return text.compare(0, wcslen(prefix), prefix) == 0;
}

} // namespace

std::wstring ApiPath(const std::wstring& path) {
    if (path.size() < kLongPathThreshold || HasPrefix(path, L"\\\\?\\") ||
        HasPrefix(path, L"\\\\.\\")) {
        return path;
    }
    if (HasPrefix(path, L"\\\\")) {
        return L"\\\\?\\UNC\\" + path.substr(2);
    }
    return L"\\\\?\\" + path;
}

std::wstring AsciiLower(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
    }
    return text;
}
