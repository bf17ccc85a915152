#pragma once
#include <string>

// The form of a fully qualified, normalised path to hand to a file API: from the length at which
// the directory functions stop working on, the "\\?\" (or "\\?\UNC\") prefix is added, so deep
// trees and long names can still be removed.
std::wstring ApiPath(const std::wstring& path);

// A to Z become a to z; every other character stays as it is.
std::wstring AsciiLower(std::wstring text);
