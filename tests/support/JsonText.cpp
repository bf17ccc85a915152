#include <windows.h>

#include "tests/support/JsonText.h"

namespace TestSupport {

namespace {

// Index just past the string that starts with the quote at i.
size_t SkipString(const std::string& text, size_t i) {
    for (++i; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
        } else if (text[i] == '"') {
            return i + 1;
        }
    }
    return text.size();
}

size_t SkipBlanks(const std::string& text, size_t i) {
    while (i < text.size() &&
           (text[i] == ' ' || text[i] == '\n' || text[i] == '\r' || text[i] == '\t')) {
        ++i;
    }
    return i;
}

} // namespace

std::vector<std::string> TopLevelMemberNames(const std::string& json) {
    std::vector<std::string> names;
    size_t i = SkipBlanks(json, 0);
    if (i >= json.size() || json[i] != '{') {
        return names;
    }
    int depth = 0;
    bool expectName = false;
    for (; i < json.size(); ++i) {
        const char c = json[i];
        if (c == '"') {
            const size_t end = SkipString(json, i);
            if (depth == 1 && expectName) {
                names.push_back(json.substr(i + 1, end - i - 2));
                expectName = false;
            }
            i = end - 1;
        } else if (c == '{' || c == '[') {
            ++depth;
            expectName = depth == 1;
        } else if (c == '}' || c == ']') {
            --depth;
        } else if (c == ',' && depth == 1) {
            expectName = true;
        }
    }
    return names;
}

bool IsValidUtf8(const std::string& bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        size_t extra = 0;
        unsigned long code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (i + extra >= bytes.size()) {
            return false;
        }
        for (size_t k = 1; k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        static const unsigned long kMinimum[] = {0, 0x80, 0x800, 0x10000};
        if (code < kMinimum[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += extra + 1;
    }
    return true;
}

} // namespace TestSupport
