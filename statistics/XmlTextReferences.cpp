#include <windows.h>

#include "statistics/XmlEntityTable.h"
#include "statistics/XmlTextDoc.h"

// Character and entity references in attribute values, and escaping for written values.

namespace {

constexpr std::size_t kLongestReference = 9; // characters after "&" up to ";"
constexpr unsigned kLastCodePoint = 0x10FFFF;

bool IsReferenceChar(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
           c == L'#';
}

int DigitValue(wchar_t c, unsigned base) {
    int value = -1;
    if (c >= L'0' && c <= L'9') {
        value = c - L'0';
    } else if (base == 16 && c >= L'a' && c <= L'f') {
        value = c - L'a' + 10;
    } else if (base == 16 && c >= L'A' && c <= L'F') {
        value = c - L'A' + 10;
    }
    return value;
}

// The code point of "#123" or "#x7B"; 0 when it is not a number.
unsigned NumericReference(const std::wstring& body) {
    const bool hex = body.size() > 1 && (body[1] == L'x');
    const unsigned base = hex ? 16 : 10;
    const std::size_t first = hex ? 2 : 1;
    if (body.size() <= first) {
        return 0;
    }
    unsigned value = 0;
    for (std::size_t i = first; i < body.size(); ++i) {
        const int digit = DigitValue(body[i], base);
        if (digit < 0) {
            return 0;
        }
        value = value * base + static_cast<unsigned>(digit); // at most 7 hex digits: no overflow
    }
    return value;
}

// Surrogates and values past the last code point are no characters: they stay as written.
bool AppendCodePoint(unsigned codePoint, std::wstring& out) {
    if (codePoint == 0 || codePoint > kLastCodePoint ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return false;
    }
    if (codePoint > 0xFFFF) {
        codePoint -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (codePoint >> 10));
        out += static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF));
    } else {
        out += static_cast<wchar_t>(codePoint);
    }
    return true;
}

// The characters between "&" and ";" when ";" comes within the limit; npos otherwise.
std::size_t ReferenceEnd(const std::wstring& text, std::size_t amp) {
    for (std::size_t i = amp + 1; i < text.size() && i <= amp + kLongestReference; ++i) {
        if (text[i] == L';') {
            return i;
        }
        if (text[i] >= 0x80) {
            break;
        }
    }
    return std::wstring::npos;
}

} // namespace

std::wstring CXmlTextDoc::UnescapeText(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const std::size_t end = text[pos] == L'&' ? ReferenceEnd(text, pos) : std::wstring::npos;
        if (end == std::wstring::npos) {
            out += text[pos];
            continue;
        }
        const std::wstring body = text.substr(pos + 1, end - pos - 1);
        const unsigned codePoint =
            !body.empty() && body[0] == L'#' ? NumericReference(body) : XmlEntityCodePoint(body);
        if (AppendCodePoint(codePoint, out)) {
            pos = end;
        } else {
            out += text[pos];
        }
    }
    return out;
}

std::wstring CXmlTextDoc::EscapeText(const std::wstring& text, int flags) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const wchar_t c = text[pos];
        if (c == L'&' && (flags & kKeepReferences) != 0) {
            const std::size_t end = ReferenceEnd(text, pos);
            std::size_t i = pos + 1;
            while (end != std::wstring::npos && i < end && IsReferenceChar(text[i])) {
                ++i;
            }
            if (end != std::wstring::npos && end > pos + 1 && i == end) {
                out.append(text, pos, end - pos + 1);
                pos = end;
                continue;
            }
        }
        switch (c) {
        case L'<':
            out += L"&lt;";
            break;
        case L'&':
            out += L"&amp;";
            break;
        case L'>':
            out += L"&gt;";
            break;
        case L'"':
            out += (flags & kEscapeQuotes) != 0 ? L"&quot;" : L"\"";
            break;
        case L'\'':
            out += (flags & kEscapeQuotes) != 0 ? L"&apos;" : L"'";
            break;
        default:
            out += c;
        }
    }
    return out;
}
