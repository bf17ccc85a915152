#include <windows.h>

#include "tests/support/ServerListPatch.h"

namespace TestSupport {

namespace {

const wchar_t kListType[] = L"STATISCNF";
const WORD kListId = 105;

BOOL CALLBACK KeepLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR out) {
    *reinterpret_cast<WORD*>(out) = language;
    return FALSE;
}

bool ReadList(const std::wstring& exePath, std::string& text, WORD& language) {
    const HMODULE module = ::LoadLibraryExW(
        exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) {
        return false;
    }
    bool found = false;
    language = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    ::EnumResourceLanguagesW(module, kListType, MAKEINTRESOURCEW(kListId), &KeepLanguage,
                             reinterpret_cast<LONG_PTR>(&language));
    const HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(kListId), kListType);
    const HGLOBAL data = info != nullptr ? ::LoadResource(module, info) : nullptr;
    const void* bytes = data != nullptr ? ::LockResource(data) : nullptr;
    if (bytes != nullptr) {
        text.assign(static_cast<const char*>(bytes), ::SizeofResource(module, info));
        found = true;
    }
    ::FreeLibrary(module);
    return found;
}

// The scheme, host and port of the first submit URL.
std::string OldBase(const std::string& text) {
    const std::string key = "SubmitUrl=";
    const size_t start = text.find(key);
    if (start == std::string::npos) {
        return std::string();
    }
    const size_t from = start + key.size();
    const size_t hostStart = text.find("//", from);
    const size_t pathStart =
        hostStart == std::string::npos ? hostStart : text.find('/', hostStart + 2);
    return pathStart == std::string::npos ? std::string() : text.substr(from, pathStart - from);
}

} // namespace

std::string PointServerListAt(const std::wstring& exePath, const std::string& baseUrl) {
    std::string text;
    WORD language = 0;
    if (!ReadList(exePath, text, language)) {
        return std::string();
    }
    const std::string oldBase = OldBase(text);
    if (oldBase.empty()) {
        return std::string();
    }
    for (size_t at = text.find(oldBase); at != std::string::npos;
         at = text.find(oldBase, at + baseUrl.size())) {
        text.replace(at, oldBase.size(), baseUrl);
    }
    const HANDLE update = ::BeginUpdateResourceW(exePath.c_str(), FALSE);
    if (update == nullptr) {
        return std::string();
    }
    const BOOL replaced = ::UpdateResourceW(update, kListType, MAKEINTRESOURCEW(kListId), language,
                                            &text[0], static_cast<DWORD>(text.size()));
    if (!::EndUpdateResourceW(update, replaced ? FALSE : TRUE) || !replaced) {
        return std::string();
    }
    return text;
}

} // namespace TestSupport
