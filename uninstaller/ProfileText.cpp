#include "uninstaller/ProfileText.h"

#include <cwctype>

namespace {

// The profile API's white space: tab to carriage return, blank, and ^Z, which old files carry as
// their end.
bool IsProfileSpace(wchar_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == L' ';
}

void Trim(const wchar_t*& begin, const wchar_t*& end) {
    while (begin < end && IsProfileSpace(*begin))
        ++begin;
    while (end > begin && IsProfileSpace(end[-1]))
        --end;
}

bool IsLineEnd(wchar_t c) {
    return c == L'\r' || c == L'\n';
}

// The characters of [begin, end) up to the first NUL.
std::wstring Name(const wchar_t* begin, const wchar_t* end) {
    std::wstring s(begin, end);
    s.resize(s.find(L'\0') == std::wstring::npos ? s.size() : s.find(L'\0'));
    return s;
}

bool SameName(const std::wstring& a, const wchar_t* b) {
    size_t i = 0;
    for (; i < a.size() && b[i] != L'\0'; ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    }
    return i == a.size() && b[i] == L'\0';
}

// A value in matching single or double quotes is handed out without them.
std::wstring Unquoted(const std::wstring& value) {
    if (value.size() >= 2 && (value[0] == L'\'' || value[0] == L'"') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

} // namespace

ProfileText::ProfileText(const std::wstring& text) {
    const wchar_t* next = text.data();
    const wchar_t* const end = next + text.size();
    Section* current = nullptr; // keys above the first section belong to none we read
    const Key* previous = nullptr;
    while (next < end) {
        const wchar_t* begin = next;
        while (next < end && !IsLineEnd(*next))
            ++next;
        const wchar_t* lineEnd = next;
        while (next < end && IsLineEnd(*next))
            ++next;
        Trim(begin, lineEnd);
        if (begin == lineEnd)
            continue;
        if (*begin == L'[') {
            const wchar_t* close = lineEnd;
            while (close > begin && close[-1] != L']')
                --close;
            if (close > begin + 1) {
                const wchar_t* nameBegin = begin + 1;
                const wchar_t* nameEnd = close - 1;
                Trim(nameBegin, nameEnd);
                sections_.push_back({Name(nameBegin, nameEnd), {}});
                current = &sections_.back();
                previous = nullptr;
                continue;
            }
            // Without "]" the line is an ordinary key line.
        }
        const wchar_t* equals = begin;
        while (equals < lineEnd && *equals != L'=')
            ++equals;
        const wchar_t* nameEnd = equals;
        while (equals < lineEnd && nameEnd > begin && IsProfileSpace(nameEnd[-1]))
            --nameEnd;
        // A line without a name right after another nameless one is dropped.
        if (nameEnd == begin && previous != nullptr && previous->name.empty())
            continue;
        Key key{Name(begin, nameEnd), std::wstring(), equals < lineEnd};
        if (key.hasValue) {
            const wchar_t* value = equals + 1;
            while (value < lineEnd && IsProfileSpace(*value))
                ++value;
            key.value = Name(value, lineEnd);
        }
        if (current) {
            current->keys.push_back(std::move(key));
            previous = &current->keys.back();
        }
    }
}

const ProfileText::Section* ProfileText::Find(const wchar_t* section) const {
    for (const Section& s : sections_) {
        if (SameName(s.name, section))
            return &s;
    }
    return nullptr;
}

std::wstring ProfileText::Value(const wchar_t* section, const wchar_t* key,
                                const wchar_t* fallback) const {
    if (const Section* s = Find(section)) {
        for (const Key& k : s->keys) {
            if (SameName(k.name, key))
                return k.hasValue ? Unquoted(k.value) : fallback;
        }
    }
    return fallback;
}

std::vector<std::wstring> ProfileText::KeyNames(const wchar_t* section) const {
    std::vector<std::wstring> names;
    if (const Section* s = Find(section)) {
        for (const Key& k : s->keys) {
            if (k.hasValue && (k.name.empty() || k.name[0] != L';'))
                names.push_back(k.name);
        }
    }
    return names;
}
