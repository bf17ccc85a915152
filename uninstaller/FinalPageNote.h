#pragma once
#include <functional>
#include <string>

// The width in pixels that a line of text takes when drawn.
typedef std::function<int(const std::wstring&)> TextWidth;

// The prefix followed by the path, with as much of the path's middle replaced by "…" as the line
// needs to fit into maxWidth; the beginning and the end of the path stay, and a surrogate pair is
// never split. When not even the prefix and "…" fit, that is the line.
std::wstring FitPathInMiddle(const std::wstring& prefix, const std::wstring& path, int maxWidth,
                             const TextWidth& width);

// What the final page says instead of its thanks when the removal left files behind: how many,
// and the folder to delete them from by hand.
std::wstring FilesLeftNote(unsigned count, const std::wstring& folder, int maxWidth,
                           const TextWidth& width);
