#pragma once
#include <windows.h>

#include "ui/XmlNode.h"

namespace SkinUI {

// One element of a parsed document; positions count characters from the
// start of the document's text, indices address the element table.
struct TXmlElementUI {
    ULONG iStart;  // element name
    ULONG iChild;  // first child, 0 when none
    ULONG iNext;   // next sibling, 0 when none
    ULONG iParent; // parent, 0 for a top-level element
    ULONG iData;   // element text
};

enum XmlEncodingUI {
    XMLFILE_ENCODING_UTF8 = 0,
    XMLFILE_ENCODING_UNICODE = 1, // UTF-16 with a byte-order mark
    XMLFILE_ENCODING_ANSI = 2,    // the system's ANSI code page
};

// The framework's small XML reader for skin files: double-quoted attributes,
// element text, the five predefined entities and numeric character
// references; comments and processing instructions are skipped. The text is
// parsed in place into a flat table, so names, values and texts are
// terminated strings inside the document's own copy of the text.
class CXmlDocument {
public:
    enum {
        MAX_ERROR_MESSAGE = 100,
        MAX_ERROR_LOCATION = 50,
        // Far above any real skin; deeper input fails instead of exhausting
        // the stack.
        MAX_NESTING_DEPTH = 256,
        // Largest skin file or archive item that is read.
        MAX_FILE_SIZE = 4 * 1024 * 1024,
    };

    CXmlDocument();
    explicit CXmlDocument(LPCWSTR xml);
    ~CXmlDocument();
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;

    bool Load(LPCWSTR xml);
    bool LoadFromMem(const BYTE* bytes, DWORD size, int encoding = XMLFILE_ENCODING_UTF8);
    // A skin file: an item of the skin archive when one is set, else a file
    // of the resource folder.
    bool LoadFromFile(LPCWSTR fileName, int encoding = XMLFILE_ENCODING_UTF8);
    // A file by its own path, without the resource folder.
    bool LoadFromPath(LPCWSTR path, int encoding = XMLFILE_ENCODING_UTF8);
    // A resource of the module (id or name, resource type).
    bool LoadFromResource(HINSTANCE instance, LPCWSTR name, LPCWSTR type,
                          int encoding = XMLFILE_ENCODING_UTF8);
    void Release();

    LPCWSTR GetLastErrorMessage() const;
    LPCWSTR GetLastErrorLocation() const;

    CXmlNode GetRoot();

private:
    friend class CXmlNode;

    // Reads the item from the skin archive held in memory by the window
    // manager; defined beside the archive support.
    bool LoadFromSkinArchive(LPCWSTR itemName, int encoding);

    bool Parse();
    bool ParseSequence(ULONG parent, int depth, LPWSTR& text);
    bool ParseElement(ULONG parent, int depth, ULONG& element, LPWSTR& text);
    bool ParseAttributes(LPWSTR& text);
    bool SkipMarkup(LPWSTR& text);
    TXmlElementUI* NewElement(ULONG& index);
    bool Fail(LPCWSTR message, LPCWSTR location);
    void ClearError();
    void TakeText(LPWSTR text);

    LPWSTR m_pstrXML;
    TXmlElementUI* m_pElements;
    ULONG m_nElements;
    ULONG m_nReservedElements;
    wchar_t m_szErrorMsg[MAX_ERROR_MESSAGE];
    wchar_t m_szErrorXML[MAX_ERROR_LOCATION];
};

} // namespace SkinUI
