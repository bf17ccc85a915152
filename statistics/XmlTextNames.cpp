#include "statistics/XmlTextNames.h"

#include <cwchar>

namespace {

wchar_t FoldAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

} // namespace

bool IsXmlWhitespace(wchar_t c) {
    return c == L'\t' || c == L'\n' || c == L'\r' || c == L' ';
}

std::size_t XmlNameLength(const std::wstring& text, std::size_t start) {
    std::size_t end = start;
    while (end < text.size() && !IsXmlWhitespace(text[end]) &&
           std::wcschr(L"/>=?[]", text[end]) == nullptr) {
        ++end;
    }
    return end - start;
}

bool XmlNamesEqual(const std::wstring& a, const std::wstring& b, bool ignoreCase) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && (!ignoreCase || FoldAscii(a[i]) != FoldAscii(b[i]))) {
            return false;
        }
    }
    return true;
}

std::wstring XmlNameKey(const std::wstring& text, std::size_t start, std::size_t length,
                        bool ignoreCase) {
    std::wstring key = text.substr(start, length);
    if (ignoreCase) {
        for (wchar_t& c : key) {
            c = FoldAscii(c);
        }
    }
    return key;
}

std::wstring CharsetOfContentType(const std::wstring& content) {
    std::wstring folded(content);
    for (wchar_t& c : folded) {
        c = FoldAscii(c);
    }
    const std::size_t key = folded.find(L"charset=");
    if (key == std::wstring::npos) {
        return std::wstring();
    }
    const std::size_t begin = key + 8;
    std::size_t end = begin;
    while (end < content.size() && !IsXmlWhitespace(content[end]) &&
           std::wcschr(L";\"'", content[end]) == nullptr) {
        ++end;
    }
    return content.substr(begin, end - begin);
}

namespace {

// A path name: anything up to "/", "[", "]", "@", "=", a quote or whitespace.
std::size_t PathNameLength(const std::wstring& path, std::size_t pos) {
    std::size_t end = pos;
    while (end < path.size() && !IsXmlWhitespace(path[end]) &&
           std::wcschr(L"/[]@='\"", path[end]) == nullptr) {
        ++end;
    }
    return end - pos;
}

// "[" predicate "]" at pos; pos moves past it. False on a syntax error.
bool SkipPredicate(const std::wstring& path, std::size_t& pos) {
    ++pos; // "["
    if (pos < path.size() && path[pos] >= L'0' && path[pos] <= L'9') {
        while (pos < path.size() && path[pos] >= L'0' && path[pos] <= L'9') {
            ++pos;
        }
    } else if (pos < path.size() && path[pos] == L'@') {
        const std::size_t name = PathNameLength(path, ++pos);
        if (name == 0) {
            return false;
        }
        pos += name;
        if (pos < path.size() && path[pos] == L'=') {
            ++pos;
            const wchar_t quote = pos < path.size() ? path[pos] : 0;
            const std::size_t close = quote == L'"' || quote == L'\'' ? path.find(quote, pos + 1)
                                                                      : path.find(L']', pos) - 1;
            if (close == std::wstring::npos || close + 1 > path.size()) {
                return false;
            }
            pos = close + 1;
        }
    } else {
        const std::size_t name = PathNameLength(path, pos);
        if (name == 0) {
            return false;
        }
        pos += name;
    }
    return pos < path.size() && path[pos++] == L']';
}

} // namespace

bool FirstNameOfXmlPath(const std::wstring& path, std::wstring& firstName) {
    if (path.empty() || path[0] == L'/') {
        return false;
    }
    std::size_t pos = 0;
    for (bool firstStep = true;; firstStep = false) {
        const std::size_t name = PathNameLength(path, pos);
        if (name == 0) {
            return false;
        }
        if (firstStep) {
            firstName = path.substr(pos, name);
        }
        pos += name;
        if (pos < path.size() && path[pos] == L'[' && !SkipPredicate(path, pos)) {
            return false;
        }
        if (pos == path.size()) {
            return true;
        }
        if (path[pos] != L'/') {
            return false;
        }
        ++pos;
        if (pos < path.size() && path[pos] == L'@') {
            return PathNameLength(path, pos + 1) > 0 &&
                   pos + 1 + PathNameLength(path, pos + 1) == path.size();
        }
    }
}
