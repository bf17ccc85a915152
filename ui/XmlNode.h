#pragma once
#include <windows.h>

namespace SkinUI {

class CXmlDocument;

// A light handle to one element of a parsed document. It stays usable as
// long as its document is neither released nor loaded again.
class CXmlNode {
public:
    enum { MAX_XML_ATTRIBUTES = 64 };

    CXmlNode();

    bool IsValid() const;
    CXmlNode GetParent();
    CXmlNode GetSibling();
    CXmlNode GetChild();
    CXmlNode GetChild(LPCWSTR name);
    bool HasSiblings() const;
    bool HasChildren() const;
    // The element name; null for an invalid node.
    LPCWSTR GetName() const;
    // The element's own text (for an element with children: the text before
    // its first child); null for an invalid node.
    LPCWSTR GetValue() const;

    bool HasAttributes();
    bool HasAttribute(LPCWSTR name);
    int GetAttributeCount();
    LPCWSTR GetAttributeName(int index);
    LPCWSTR GetAttributeValue(int index);
    // The value of the named attribute, or null when the element has none.
    LPCWSTR GetAttributeValue(LPCWSTR name);
    // Copies at most size characters of the value into buffer, which holds
    // size + 1 characters; false when the element has no such attribute.
    bool GetAttributeValue(int index, LPWSTR buffer, SIZE_T size);
    bool GetAttributeValue(LPCWSTR name, LPWSTR buffer, SIZE_T size);

private:
    friend class CXmlDocument;
    CXmlNode(CXmlDocument* document, ULONG element);
    void MapAttributes();

    struct TAttribute {
        ULONG nameStart;
        ULONG valueStart;
    };

    ULONG m_iPos;
    int m_nAttributes;
    TAttribute m_aAttributes[MAX_XML_ATTRIBUTES];
    CXmlDocument* m_pOwner;
};

} // namespace SkinUI
