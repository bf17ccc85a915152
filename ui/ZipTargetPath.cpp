#include <windows.h>

#include "ui/ZipTargetPath.h"

namespace SkinUI {

namespace {

bool IsSlash(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool IsAbsoluteFolderPart(const std::wstring& folder) {
    return (!folder.empty() && IsSlash(folder[0])) || (folder.size() >= 2 && folder[1] == L':');
}

bool StartsWithNoCase(const std::wstring& s, const std::wstring& prefix) {
    return s.size() >= prefix.size() &&
           CompareStringOrdinal(s.data(), static_cast<int>(prefix.size()), prefix.data(),
                                static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

// Length of the part of a full path that is no folder to create: "C:\" or
// "\\server\share\".
size_t RootLength(const std::wstring& path) {
    if (path.size() >= 2 && IsSlash(path[0]) && IsSlash(path[1])) {
        size_t slashes = 0;
        for (size_t i = 0; i < path.size(); ++i) {
            if (IsSlash(path[i]) && ++slashes == 4)
                return i + 1;
        }
        return path.size();
    }
    if (path.size() >= 3 && path[1] == L':')
        return 3;
    return 0;
}

// A name the file system would not keep as written: only dots and blanks
// ("...", ". .") or a trailing dot or blank, which the system drops. Wine
// even turns "..." into an uncollapsed "..", which then leads upward.
bool IsDeceptiveComponent(const std::wstring& part) {
    if (part.empty())
        return false;
    return part.find_first_not_of(L". ") == std::wstring::npos || part.back() == L'.' ||
           part.back() == L' ';
}

// A normalised path must not hold "." or ".." any more: where it still
// does, the system resolves them later, and somewhere else.
bool IsFullyNormalised(const std::wstring& full) {
    size_t start = RootLength(full);
    while (start < full.size()) {
        size_t end = full.find(L'\\', start);
        if (end == std::wstring::npos)
            end = full.size();
        if (IsDeceptiveComponent(full.substr(start, end - start)))
            return false;
        start = end + 1;
    }
    return true;
}

} // namespace

bool HasDeceptiveComponent(const std::wstring& target) {
    size_t start = target.size() >= 2 && target[1] == L':' ? 2 : 0;
    while (start <= target.size()) {
        size_t end = target.find_first_of(L"\\/", start);
        if (end == std::wstring::npos)
            end = target.size();
        const std::wstring part = target.substr(start, end - start);
        if (part != L"." && part != L".." && IsDeceptiveComponent(part))
            return true;
        start = end + 1;
    }
    return false;
}

std::wstring ZipFullPath(const std::wstring& path) {
    if (path.empty())
        return {};
    DWORD size = MAX_PATH;
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::wstring buffer(size, L'\0');
        const DWORD n = GetFullPathNameW(path.c_str(), size, &buffer[0], nullptr);
        if (n == 0)
            return {};
        if (n < size) {
            buffer.resize(n);
            return buffer;
        }
        size = n + 1;
    }
    return {};
}

bool ZipTargetPath::Resolve(const std::wstring& baseDir, const std::wstring& target,
                            bool confineAbsolute) {
    full_.clear();
    if (HasDeceptiveComponent(target))
        return false;
    const size_t cut = target.find_last_of(L"\\/");
    const std::wstring folder =
        cut == std::wstring::npos ? std::wstring() : target.substr(0, cut + 1);
    relative_ = !IsAbsoluteFolderPart(folder);
    parentRef_ =
        folder.find(L"..\\") != std::wstring::npos || folder.find(L"../") != std::wstring::npos;
    base_ = ZipFullPath(baseDir);
    if (base_.empty())
        return false;
    if (!IsSlash(base_.back()))
        base_ += L'\\';
    const std::wstring joined = relative_ ? base_ + target : target;
    full_ = ZipFullPath(joined);
    if (full_.empty() || !IsFullyNormalised(full_)) {
        full_.clear();
        return false;
    }
    if ((relative_ || confineAbsolute) && !StartsWithNoCase(full_ + L'\\', base_)) {
        full_.clear();
        return false;
    }
    return true;
}

void ZipTargetPath::CreateFolders(bool wholePathIsFolder, bool onlyBelowBase) const {
    std::wstring path = full_;
    if (!wholePathIsFolder) {
        const size_t cut = path.find_last_of(L'\\');
        if (cut == std::wstring::npos)
            return;
        path.resize(cut);
    }
    while (!path.empty() && IsSlash(path.back()))
        path.pop_back();
    size_t from = RootLength(path);
    if (onlyBelowBase) {
        if (!StartsWithNoCase(path + L'\\', base_))
            return;
        from = base_.size();
    }
    for (size_t i = from; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == L'\\') {
            if (i > 0 && !IsSlash(path[i - 1]))
                CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
        }
    }
}

} // namespace SkinUI
