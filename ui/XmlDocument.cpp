#include <windows.h>

#include "ui/XmlDocument.h"

#include "ui/Win32Handles.h"

#include "ui/UIString.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace SkinUI {

namespace {

LPWSTR AllocText(size_t characters) {
    if (characters > SIZE_MAX / sizeof(wchar_t)) {
        return nullptr;
    }
    return static_cast<LPWSTR>(std::malloc(characters * sizeof(wchar_t)));
}

// A code-page text as a new terminated UTF-16 text; null when out of memory.
LPWSTR ConvertMultiByte(UINT codePage, const BYTE* bytes, DWORD size) {
    const auto* source = reinterpret_cast<LPCSTR>(bytes);
    const int count =
        size == 0 ? 0
                  : ::MultiByteToWideChar(codePage, 0, source, static_cast<int>(size), nullptr, 0);
    LPWSTR text = AllocText(static_cast<size_t>(count) + 1);
    if (text == nullptr) {
        return nullptr;
    }
    if (count > 0) {
        ::MultiByteToWideChar(codePage, 0, source, static_cast<int>(size), text, count);
    }
    text[count] = 0;
    return text;
}

// UTF-16 bytes as a new terminated text. Big-endian pairs are swapped while
// copying: the caller's bytes stay as they are.
LPWSTR CopyUtf16(const BYTE* bytes, DWORD size) {
    bool bigEndian = false;
    DWORD offset = 0;
    if (bytes[0] == 0xFE && bytes[1] == 0xFF) {
        bigEndian = true;
        offset = 2;
    } else if (bytes[0] == 0xFF && bytes[1] == 0xFE) {
        offset = 2;
    }
    const DWORD count = (size - offset) / 2;
    LPWSTR text = AllocText(static_cast<size_t>(count) + 1);
    if (text == nullptr) {
        return nullptr;
    }
    const BYTE* pair = bytes + offset;
    for (DWORD i = 0; i < count; ++i, pair += 2) {
        text[i] = bigEndian ? static_cast<wchar_t>((pair[0] << 8) | pair[1])
                            : static_cast<wchar_t>(pair[0] | (pair[1] << 8));
    }
    text[count] = 0;
    return text;
}

} // namespace

CXmlDocument::CXmlDocument()
    : m_pstrXML(nullptr), m_pElements(nullptr), m_nElements(0), m_nReservedElements(0),
      m_szErrorMsg(), m_szErrorXML() {}

CXmlDocument::CXmlDocument(LPCWSTR xml) : CXmlDocument() {
    if (xml != nullptr) {
        Load(xml);
    }
}

CXmlDocument::~CXmlDocument() {
    Release();
}

void CXmlDocument::Release() {
    std::free(m_pstrXML);
    std::free(m_pElements);
    m_pstrXML = nullptr;
    m_pElements = nullptr;
    m_nElements = 0;
    m_nReservedElements = 0;
}

LPCWSTR CXmlDocument::GetLastErrorMessage() const {
    return m_szErrorMsg;
}

LPCWSTR CXmlDocument::GetLastErrorLocation() const {
    return m_szErrorXML;
}

void CXmlDocument::ClearError() {
    m_szErrorMsg[0] = 0;
    m_szErrorXML[0] = 0;
}

bool CXmlDocument::Fail(LPCWSTR message, LPCWSTR location) {
    int n = 0;
    for (; message != nullptr && message[n] != 0 && n < MAX_ERROR_MESSAGE - 1; ++n) {
        m_szErrorMsg[n] = message[n];
    }
    m_szErrorMsg[n] = 0;
    n = 0;
    for (; location != nullptr && location[n] != 0 && n < MAX_ERROR_LOCATION - 1; ++n) {
        m_szErrorXML[n] = location[n];
    }
    m_szErrorXML[n] = 0;
    return false;
}

void CXmlDocument::TakeText(LPWSTR text) {
    m_pstrXML = text;
}

CXmlNode CXmlDocument::GetRoot() {
    if (m_nElements < 2) {
        return CXmlNode();
    }
    return CXmlNode(this, 1);
}

bool CXmlDocument::Load(LPCWSTR xml) {
    Release();
    ClearError();
    if (xml == nullptr) {
        return Fail(L"File is empty", nullptr);
    }
    const size_t length = std::wcslen(xml);
    LPWSTR text = AllocText(length + 1);
    if (text == nullptr) {
        return Fail(L"Out of memory", nullptr);
    }
    std::memcpy(text, xml, (length + 1) * sizeof(wchar_t));
    TakeText(text);
    if (!Parse()) {
        Release();
        return false;
    }
    return true;
}

bool CXmlDocument::LoadFromMem(const BYTE* bytes, DWORD size, int encoding) {
    Release();
    ClearError();
    if (bytes == nullptr || size == 0) {
        return Fail(L"File is empty", nullptr);
    }
    if (size > static_cast<DWORD>(INT_MAX)) {
        return Fail(L"File too large", nullptr);
    }
    LPWSTR text = nullptr;
    switch (encoding) {
    case XMLFILE_ENCODING_UTF8:
        if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
            bytes += 3;
            size -= 3;
        }
        text = ConvertMultiByte(CP_UTF8, bytes, size);
        break;
    case XMLFILE_ENCODING_ANSI:
        text = ConvertMultiByte(CP_ACP, bytes, size);
        break;
    case XMLFILE_ENCODING_UNICODE:
        // A text without a byte-order mark is taken as little-endian.
        if (size < 2) {
            return Fail(L"File is empty", nullptr);
        }
        text = CopyUtf16(bytes, size);
        break;
    default:
        return Fail(L"Unknown encoding", nullptr);
    }
    if (text == nullptr) {
        return Fail(L"Out of memory", nullptr);
    }
    TakeText(text);
    if (!Parse()) {
        Release();
        return false;
    }
    return true;
}

bool CXmlDocument::LoadFromPath(LPCWSTR path, int encoding) {
    Release();
    ClearError();
    if (path == nullptr) {
        return Fail(L"Error opening file", nullptr);
    }
    CFileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        return Fail(L"Error opening file", nullptr);
    }
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file.Get(), &size)) {
        return Fail(L"Could not read file", nullptr);
    }
    if (size.QuadPart == 0) {
        return Fail(L"File is empty", nullptr);
    }
    if (size.QuadPart > MAX_FILE_SIZE) {
        return Fail(L"File too large", nullptr);
    }
    const auto bytesToRead = static_cast<DWORD>(size.QuadPart);
    auto* bytes = static_cast<BYTE*>(std::malloc(bytesToRead));
    if (bytes == nullptr) {
        return Fail(L"Out of memory", nullptr);
    }
    DWORD read = 0;
    if (!::ReadFile(file.Get(), bytes, bytesToRead, &read, nullptr) || read != bytesToRead) {
        std::free(bytes);
        return Fail(L"Could not read file", nullptr);
    }
    const bool loaded = LoadFromMem(bytes, bytesToRead, encoding);
    std::free(bytes);
    return loaded;
}

bool CXmlDocument::LoadFromResource(HINSTANCE instance, LPCWSTR name, LPCWSTR type, int encoding) {
    Release();
    ClearError();
    HRSRC resource = ::FindResourceW(instance, name, type);
    if (resource == nullptr) {
        return Fail(L"Error opening file", nullptr);
    }
    const DWORD size = ::SizeofResource(instance, resource);
    HGLOBAL loaded = ::LoadResource(instance, resource);
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return Fail(L"Could not read file", nullptr);
    }
    if (size == 0) {
        return Fail(L"File is empty", nullptr);
    }
    if (size > MAX_FILE_SIZE) {
        return Fail(L"File too large", nullptr);
    }
    return LoadFromMem(static_cast<const BYTE*>(bytes), size, encoding);
}

} // namespace SkinUI
