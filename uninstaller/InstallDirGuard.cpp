#include <windows.h>
#include <shlobj.h>

#include "ui/Win32Handles.h"
#include "uninstaller/InstallDirGuard.h"
#include "uninstaller/LongPath.h"

#include <algorithm>
#include <cwchar>

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool HasPrefix(const std::wstring& text, const wchar_t* prefix) {
    return text.compare(0, std::wcslen(prefix), prefix) == 0;
}

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

std::vector<std::wstring> SplitComponents(const std::wstring& path) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = path.find(L'\\', start);
        parts.push_back(path.substr(start, end == std::wstring::npos ? end : end - start));
        if (end == std::wstring::npos) {
            break;
        }
        start = end + 1;
    }
    return parts;
}

bool IsBadComponent(const std::wstring& part) {
    if (part.empty() || part.back() == L'.' || part.back() == L' ') {
        // Covers "." and "..": Windows drops trailing dots and blanks, so "Windows." is Windows.
        return true;
    }
    for (const wchar_t c : part) {
        if (c < 0x20 || std::wcschr(L"<>:\"|?*", c) != nullptr) {
            return true;
        }
    }
    return false;
}

// Equal, or folder lies below dir; letter case ignored as the file system does.
bool IsSameOrAncestor(const std::wstring& dir, const std::wstring& folder) {
    if (dir.empty() || folder.size() < dir.size()) {
        return false;
    }
    if (::CompareStringOrdinal(dir.c_str(), static_cast<int>(dir.size()), folder.c_str(),
                               static_cast<int>(dir.size()), TRUE) != CSTR_EQUAL) {
        return false;
    }
    return folder.size() == dir.size() || folder[dir.size()] == L'\\';
}

bool IsSamePath(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::wstring StripDevicePrefix(const std::wstring& path) {
    if (HasPrefix(path, L"\\\\?\\UNC\\")) {
        return L"\\\\" + path.substr(8);
    }
    if (HasPrefix(path, L"\\\\?\\")) {
        return path.substr(4);
    }
    return path;
}

} // namespace

std::wstring LongForm(const std::wstring& path) {
    // Only a short name differs from its long name, and every short name the file system makes
    // for a long one carries a '~': without one the path is its own long form, and the walk
    // through every component can be spared.
    if (path.find(L'~') == std::wstring::npos) {
        return path;
    }
    const std::wstring api = ApiPath(path);
    const DWORD needed = ::GetLongPathNameW(api.c_str(), nullptr, 0);
    if (needed == 0) {
        return std::wstring();
    }
    std::wstring out(needed, L'\0');
    const DWORD length = ::GetLongPathNameW(api.c_str(), &out[0], needed);
    if (length == 0 || length >= needed) {
        return std::wstring();
    }
    out.resize(length);
    // The prefix the lookup of a deep path needed is no part of the folder's name.
    return api == path ? out : StripDevicePrefix(out);
}

std::wstring ResolvedForm(const std::wstring& path) {
    const SkinUI::CFileHandle handle(
        ::CreateFileW(ApiPath(path).c_str(), FILE_READ_ATTRIBUTES,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) {
        return std::wstring();
    }
    std::wstring out(MAX_PATH, L'\0');
    DWORD length =
        ::GetFinalPathNameByHandleW(handle.Get(), &out[0], static_cast<DWORD>(out.size()),
                                    FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length >= out.size()) {
        out.assign(length + 1, L'\0');
        length = ::GetFinalPathNameByHandleW(handle.Get(), &out[0], static_cast<DWORD>(out.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    if (length == 0 || length >= out.size()) {
        return std::wstring();
    }
    out.resize(length);
    return NormalizeInstallDir(StripDevicePrefix(out));
}

namespace {

// The path as written and, where they differ, its long-name and link-resolved forms.
std::vector<std::wstring> FormsOf(const std::wstring& normalized, const std::wstring& resolved) {
    std::vector<std::wstring> forms{normalized};
    for (const std::wstring& other : {NormalizeInstallDir(LongForm(normalized)), resolved}) {
        if (!other.empty() && other != normalized) {
            forms.push_back(other);
        }
    }
    return forms;
}

void AddFolder(std::vector<std::wstring>& folders, const std::wstring& path) {
    const std::wstring normalized = NormalizeInstallDir(path);
    if (normalized.empty()) {
        return;
    }
    for (const std::wstring& form : FormsOf(normalized, ResolvedForm(normalized))) {
        folders.push_back(form);
    }
}

std::wstring ShellFolder(int csidl) {
    wchar_t buffer[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_DONT_VERIFY, nullptr,
                                  SHGFP_TYPE_CURRENT, buffer))) {
        return std::wstring();
    }
    return buffer;
}

std::wstring EnvironmentFolder(const wchar_t* name) {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

template <typename Getter> std::wstring SystemFolder(Getter getter) {
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = getter(buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

} // namespace

std::wstring NormalizeInstallDir(const std::wstring& dir) {
    const bool unc = dir.size() >= 2 && IsSeparator(dir[0]) && IsSeparator(dir[1]);
    std::wstring out = unc ? L"\\\\" : L"";
    size_t i = 0;
    if (unc) {
        while (i < dir.size() && IsSeparator(dir[i])) {
            ++i;
        }
    }
    for (; i < dir.size(); ++i) {
        const wchar_t c = IsSeparator(dir[i]) ? L'\\' : dir[i];
        if (c == L'\\' && out.size() > (unc ? 2u : 0u) && out.back() == L'\\') {
            continue;
        }
        out += c;
    }
    while (out.size() > (unc ? 2u : 0u) && out.back() == L'\\') {
        out.pop_back();
    }
    return unc && out.size() == 2 ? std::wstring() : out;
}

namespace {

// The checks of the written path's shape; path is dir normalised.
InstallDirProblem CheckPathShape(const std::wstring& dir, const std::wstring& path) {
    if (path.empty()) {
        return dir.empty() ? InstallDirProblem::Empty : InstallDirProblem::Root;
    }
    if (HasPrefix(path, L"\\\\?\\") || HasPrefix(path, L"\\\\.\\") || HasPrefix(path, L"\\??\\")) {
        return InstallDirProblem::DevicePath;
    }
    std::vector<std::wstring> parts;
    if (HasPrefix(path, L"\\\\")) {
        parts = SplitComponents(path.substr(2));
        if (parts.size() <= 2) {
            return InstallDirProblem::Root;
        }
    } else if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == L':') {
        if (path.size() == 2) {
            return InstallDirProblem::Root;
        }
        if (path[2] != L'\\') {
            return InstallDirProblem::NotAbsolute;
        }
        parts = SplitComponents(path.substr(3));
    } else {
        return InstallDirProblem::NotAbsolute;
    }
    for (const std::wstring& part : parts) {
        if (IsBadComponent(part)) {
            return InstallDirProblem::BadComponent;
        }
    }
    return InstallDirProblem::None;
}

bool LeadsToShellFolder(const std::vector<std::wstring>& forms) {
    const std::vector<std::wstring> shellFolders = KnownShellFolders();
    for (const std::wstring& form : forms) {
        for (const std::wstring& folder : shellFolders) {
            if (IsSameOrAncestor(form, folder)) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

InstallDirProblem CheckInstallDir(const std::wstring& dir) {
    const std::wstring path = NormalizeInstallDir(dir);
    const InstallDirProblem shape = CheckPathShape(dir, path);
    if (shape != InstallDirProblem::None) {
        return shape;
    }
    const std::wstring target = ResolvedForm(path);
    if (LeadsToShellFolder(FormsOf(path, target))) {
        return InstallDirProblem::ShellFolder;
    }
    // A link is removed through its target (a game moved to another drive), so the target must
    // pass as well: a link to a drive root is refused like the root itself. Its shell folders
    // were checked among the path's forms.
    if (target.empty() || IsSamePath(target, path)) {
        return InstallDirProblem::None;
    }
    return CheckPathShape(target, target);
}

bool IsSafeInstallDir(const std::wstring& dir) {
    return CheckInstallDir(dir) == InstallDirProblem::None;
}

std::vector<std::wstring> KnownShellFolders() {
    static const int kFolders[] = {
        CSIDL_WINDOWS,
        CSIDL_SYSTEM,
        CSIDL_SYSTEMX86,
        CSIDL_PROGRAM_FILES,
        CSIDL_PROGRAM_FILESX86,
        CSIDL_PROGRAM_FILES_COMMON,
        CSIDL_PROGRAM_FILES_COMMONX86,
        CSIDL_COMMON_APPDATA, // ProgramData
        CSIDL_PROFILE,
        CSIDL_DESKTOPDIRECTORY,
        CSIDL_COMMON_DESKTOPDIRECTORY,
        CSIDL_PERSONAL, // Documents
        CSIDL_COMMON_DOCUMENTS,
        CSIDL_APPDATA,
        CSIDL_LOCAL_APPDATA,
        CSIDL_COMMON_PROGRAMS,
        CSIDL_PROGRAMS,
        CSIDL_STARTMENU,
        CSIDL_COMMON_STARTMENU,
        CSIDL_MYMUSIC,
        CSIDL_MYPICTURES,
        CSIDL_MYVIDEO,
        CSIDL_FONTS,
    };
    std::vector<std::wstring> written;
    for (const int csidl : kFolders) {
        written.push_back(ShellFolder(csidl));
    }
    // A 32-bit process sees "Program Files (x86)" as Program Files; the 64-bit ones still count.
    written.push_back(EnvironmentFolder(L"ProgramW6432"));
    written.push_back(EnvironmentFolder(L"CommonProgramW6432"));
    written.push_back(EnvironmentFolder(L"USERPROFILE"));
    written.push_back(SystemFolder(::GetWindowsDirectoryW));
    written.push_back(SystemFolder(::GetSystemDirectoryW));
    written.push_back(SystemFolder(::GetSystemWow64DirectoryW));
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD tempLength = ::GetTempPathW(MAX_PATH + 1, temp);
    if (tempLength > 0 && tempLength <= MAX_PATH) {
        written.push_back(std::wstring(temp, tempLength));
    }
    std::vector<std::wstring> folders;
    std::vector<std::wstring> seen;
    for (const std::wstring& path : written) {
        // Several names lead to one folder (Windows, System, the profile): its forms once.
        const std::wstring normalized = NormalizeInstallDir(path);
        if (std::none_of(seen.begin(), seen.end(), [&](const std::wstring& other) {
                return IsSamePath(other, normalized);
            })) {
            seen.push_back(normalized);
            AddFolder(folders, normalized);
        }
    }
    return folders;
}

bool IsPlainFileName(const std::wstring& name) {
    if (name.find_first_not_of(L". ") == std::wstring::npos) {
        return false;
    }
    for (const wchar_t c : name) {
        if (c < 0x20 || std::wcschr(L"\\/:<>\"|?*", c) != nullptr) {
            return false;
        }
    }
    return true;
}
