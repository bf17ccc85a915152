#include <windows.h>

#include "statistics/XmlTextDoc.h"
#include "statistics/XmlTextFile.h"

#include <algorithm>
#include <memory>

namespace {

constexpr std::size_t kHeadBytes = 1024;
constexpr int kUtf16Le = 1200;
constexpr int kUtf16Be = 1201;

struct HandleCloser {
    void operator()(HANDLE handle) const {
        if (handle != INVALID_HANDLE_VALUE) {
            ::CloseHandle(handle);
        }
    }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

std::wstring SystemMessage(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring message = length != 0 ? std::wstring(buffer, length) : std::to_wstring(error);
    ::LocalFree(buffer);
    return message;
}

std::wstring ToWide(UINT codePage, const std::string& bytes, bool& ok) {
    ok = true;
    if (bytes.empty()) {
        return std::wstring();
    }
    const int size = static_cast<int>(bytes.size());
    // The output is sized at the input length plus one per cent.
    std::wstring text(bytes.size() + bytes.size() / 100 + 1, L'\0');
    const int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, &text[0],
                                             static_cast<int>(text.size()));
    ok = length > 0;
    text.resize(ok ? static_cast<std::size_t>(length) : 0);
    return text;
}

bool HasMark(const std::string& bytes, const char* mark) {
    return bytes.compare(0, std::char_traits<char>::length(mark), mark) == 0;
}

// Whether the bytes end inside a double-byte character of the ANSI code page.
bool EndsInLeadByte(const std::string& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (::IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(bytes[i]))) {
            if (++i == bytes.size()) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

bool XmlTextFile::ReadAll(const wchar_t* path, std::string& bytes) const {
    const FileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (file.get() == INVALID_HANDLE_VALUE || !::GetFileSizeEx(file.get(), &size) ||
        size.HighPart != 0 || size.LowPart > 0x7FFFFFFF) {
        doc_.AddResult(L"file_error", {{L"msg", SystemMessage(::GetLastError())}});
        return false;
    }
    bytes.assign(size.LowPart, '\0');
    DWORD read = 0;
    if (size.LowPart != 0 && !::ReadFile(file.get(), &bytes[0], size.LowPart, &read, nullptr)) {
        doc_.AddResult(L"file_error", {{L"msg", SystemMessage(::GetLastError())}});
        return false;
    }
    bytes.resize(read);
    doc_.AddResult(L"read", {{L"length", std::to_wstring(read)}});
    return true;
}

bool XmlTextFile::IsUtf8(const std::string& bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i++]);
        std::size_t more = 0;
        if (lead < 0x80) {
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            more = 1;
        } else if ((lead & 0xF0) == 0xE0) {
            more = 2;
        } else if ((lead & 0xF8) == 0xF0) {
            more = 3;
        } else {
            return false;
        }
        for (; more > 0 && i < bytes.size(); --more, ++i) {
            if ((static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80) {
                return false;
            }
        }
    }
    return true;
}

std::wstring XmlTextFile::DeclaredEncoding(const std::string& bytes) const {
    bool ok = false;
    const std::wstring head = ToWide(CP_UTF8, bytes.substr(0, kHeadBytes), ok);
    return doc_.FindDeclaredEncoding(head);
}

bool XmlTextFile::Decode(const std::string& bytes, std::wstring& text, int& encodingFlags) const {
    encodingFlags = 0;
    const struct {
        const char* mark;
        const wchar_t* name;
        int flag;
    } marks[] = {{"\xEF\xBB\xBF", L"UTF-8", CXmlTextDoc::kUtf8Bom},
                 {"\xFF\xFE", L"UTF-16LE", CXmlTextDoc::kUtf16LittleEndian},
                 {"\xFE\xFF", L"UTF-16BE", CXmlTextDoc::kUtf16BigEndian}};
    for (const auto& mark : marks) {
        if (HasMark(bytes, mark.mark)) {
            doc_.AddResult(L"bom", {{L"encoding", mark.name}});
            encodingFlags = mark.flag;
            const std::string rest = bytes.substr(std::char_traits<char>::length(mark.mark));
            return mark.flag == CXmlTextDoc::kUtf8Bom
                       ? DecodeEightBit(rest, mark.name, text)
                       : DecodeUtf16(rest, mark.flag == CXmlTextDoc::kUtf16BigEndian, text);
        }
    }
    std::wstring encoding = DeclaredEncoding(bytes);
    const int declared = CXmlTextDoc::CodePageFromEncodingName(encoding);
    if (declared == kUtf16Le || declared == kUtf16Be) {
        return DecodeUtf16(bytes, declared == kUtf16Be, text);
    }
    // A name no table knows is no help: the bytes decide as if nothing were declared.
    return DecodeEightBit(bytes, declared > 0 ? encoding : std::wstring(), text);
}

bool XmlTextFile::DecodeUtf16(const std::string& bytes, bool bigEndian, std::wstring& text) const {
    text.clear();
    text.reserve(bytes.size() / 2);
    std::size_t nulls = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        const auto unit =
            static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
        if (unit == 0) {
            ++nulls;
        } else {
            text += unit;
        }
    }
    if (nulls != 0) {
        doc_.AddResult(L"nulls_removed", {{L"count", std::to_wstring(nulls)}});
    }
    if (bigEndian) {
        doc_.AddResult(L"endian_swap", {});
    }
    return true;
}

bool XmlTextFile::DecodeEightBit(std::string bytes, const std::wstring& encoding,
                                 std::wstring& text) const {
    const std::size_t before = bytes.size();
    bytes.erase(std::remove(bytes.begin(), bytes.end(), '\0'), bytes.end());
    if (bytes.size() != before) {
        doc_.AddResult(L"nulls_removed", {{L"count", std::to_wstring(before - bytes.size())}});
    }
    int codePage = CXmlTextDoc::CodePageFromEncodingName(encoding);
    if (encoding.empty()) {
        const bool utf8 = IsUtf8(bytes);
        doc_.AddResult(L"utf8_detection", {{L"type", utf8 ? L"UTF-8" : L"ANSI"}});
        if (utf8) {
            codePage = CP_UTF8;
        } else {
            doc_.AddResult(L"ANSI", {});
            if (EndsInLeadByte(bytes)) {
                doc_.AddResult(L"truncation_error", {{L"offset", std::to_wstring(bytes.size())}});
            }
        }
    }
    bool ok = false;
    text = ToWide(static_cast<UINT>(codePage), bytes, ok);
    doc_.AddResult(L"converted_to",
                   {{L"encoding", L"UTF-16"}, {L"length", std::to_wstring(text.size())}});
    return ok;
}
