#include "uninstaller/FinalPageNote.h"

namespace {

const wchar_t kEllipsis[] = L"\u2026";

bool IsLowSurrogate(wchar_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The path with `keep` of its units kept, half from each end (a pair stays whole).
std::wstring KeepEnds(const std::wstring& path, size_t keep) {
    size_t head = (keep + 1) / 2;
    size_t tail = keep - head;
    if (head > 0 && head < path.size() && IsLowSurrogate(path[head]))
        --head;
    if (tail > 0 && IsLowSurrogate(path[path.size() - tail]))
        --tail;
    return path.substr(0, head) + kEllipsis + path.substr(path.size() - tail);
}

} // namespace

std::wstring FitPathInMiddle(const std::wstring& prefix, const std::wstring& path, int maxWidth,
                             const TextWidth& width) {
    if (width(prefix + path) <= maxWidth)
        return prefix + path;
    // The most units kept that still fit: the width grows with every unit kept.
    size_t fits = 0;
    size_t tooMany = path.size();
    while (tooMany - fits > 1) {
        const size_t keep = fits + (tooMany - fits) / 2;
        if (width(prefix + KeepEnds(path, keep)) <= maxWidth)
            fits = keep;
        else
            tooMany = keep;
    }
    return prefix + KeepEnds(path, fits);
}

std::wstring FilesLeftNote(unsigned count, const std::wstring& folder, int maxWidth,
                           const TextWidth& width) {
    const std::wstring prefix = L"有 " + std::to_wstring(count) + L" 个文件未能删除，请手动删除：";
    return FitPathInMiddle(prefix, folder, maxWidth, width);
}
