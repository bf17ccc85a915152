#include <windows.h>

#include "ui/XmlNode.h"

#include "ui/XmlCharClass.h"
#include "ui/XmlDocument.h"

#include <cwchar>

namespace SkinUI {

using XmlCharClass::IsNameChar;
using XmlCharClass::IsSpace;

CXmlNode::CXmlNode() : m_iPos(0), m_nAttributes(0), m_aAttributes(), m_pOwner(nullptr) {}

CXmlNode::CXmlNode(CXmlDocument* document, ULONG element)
    : m_iPos(element), m_nAttributes(0), m_aAttributes(), m_pOwner(document) {}

bool CXmlNode::IsValid() const {
    return m_pOwner != nullptr;
}

CXmlNode CXmlNode::GetParent() {
    if (m_pOwner == nullptr) {
        return CXmlNode();
    }
    const ULONG parent = m_pOwner->m_pElements[m_iPos].iParent;
    return parent == 0 ? CXmlNode() : CXmlNode(m_pOwner, parent);
}

CXmlNode CXmlNode::GetSibling() {
    if (m_pOwner == nullptr) {
        return CXmlNode();
    }
    const ULONG next = m_pOwner->m_pElements[m_iPos].iNext;
    return next == 0 ? CXmlNode() : CXmlNode(m_pOwner, next);
}

CXmlNode CXmlNode::GetChild() {
    if (m_pOwner == nullptr) {
        return CXmlNode();
    }
    const ULONG child = m_pOwner->m_pElements[m_iPos].iChild;
    return child == 0 ? CXmlNode() : CXmlNode(m_pOwner, child);
}

CXmlNode CXmlNode::GetChild(LPCWSTR name) {
    if (m_pOwner == nullptr || name == nullptr) {
        return CXmlNode();
    }
    for (ULONG child = m_pOwner->m_pElements[m_iPos].iChild; child != 0;
         child = m_pOwner->m_pElements[child].iNext) {
        if (std::wcscmp(m_pOwner->m_pstrXML + m_pOwner->m_pElements[child].iStart, name) == 0) {
            return CXmlNode(m_pOwner, child);
        }
    }
    return CXmlNode();
}

bool CXmlNode::HasSiblings() const {
    return m_pOwner != nullptr && m_pOwner->m_pElements[m_iPos].iNext > 0;
}

bool CXmlNode::HasChildren() const {
    return m_pOwner != nullptr && m_pOwner->m_pElements[m_iPos].iChild != 0;
}

LPCWSTR CXmlNode::GetName() const {
    if (m_pOwner == nullptr) {
        return nullptr;
    }
    return m_pOwner->m_pstrXML + m_pOwner->m_pElements[m_iPos].iStart;
}

LPCWSTR CXmlNode::GetValue() const {
    if (m_pOwner == nullptr) {
        return nullptr;
    }
    return m_pOwner->m_pstrXML + m_pOwner->m_pElements[m_iPos].iData;
}

// Finds the attributes between the element name and the end of the start tag.
// Every scan stops at the element's text, so a damaged table can never lead
// the mapping out of the element.
void CXmlNode::MapAttributes() {
    m_nAttributes = 0;
    LPCWSTR text = m_pOwner->m_pstrXML;
    const TXmlElementUI& element = m_pOwner->m_pElements[m_iPos];
    const ULONG end = element.iData;
    ULONG pos = element.iStart;
    while (pos < end && text[pos] != 0) {
        ++pos;
    }
    ++pos;
    while (pos < end && m_nAttributes < MAX_XML_ATTRIBUTES) {
        while (pos < end && IsSpace(text[pos])) {
            ++pos;
        }
        // A name, or an empty name whose terminator sits where it would start.
        if (pos >= end || (text[pos] != 0 && !IsNameChar(text[pos]))) {
            break;
        }
        const ULONG name = pos;
        while (pos < end && text[pos] != 0) {
            ++pos;
        }
        ++pos;
        while (pos < end && IsSpace(text[pos])) {
            ++pos;
        }
        if (pos >= end || text[pos] != L'"') {
            break;
        }
        const ULONG value = ++pos;
        while (pos < end && text[pos] != 0) {
            ++pos;
        }
        if (pos >= end) {
            break;
        }
        ++pos;
        m_aAttributes[m_nAttributes].nameStart = name;
        m_aAttributes[m_nAttributes].valueStart = value;
        ++m_nAttributes;
    }
}

int CXmlNode::GetAttributeCount() {
    if (m_pOwner == nullptr) {
        return 0;
    }
    if (m_nAttributes == 0) {
        MapAttributes();
    }
    return m_nAttributes;
}

bool CXmlNode::HasAttributes() {
    return GetAttributeCount() > 0;
}

bool CXmlNode::HasAttribute(LPCWSTR name) {
    return GetAttributeValue(name) != nullptr;
}

LPCWSTR CXmlNode::GetAttributeName(int index) {
    if (m_pOwner == nullptr) {
        return nullptr;
    }
    if (index < 0 || index >= GetAttributeCount()) {
        return L"";
    }
    return m_pOwner->m_pstrXML + m_aAttributes[index].nameStart;
}

LPCWSTR CXmlNode::GetAttributeValue(int index) {
    if (m_pOwner == nullptr) {
        return nullptr;
    }
    if (index < 0 || index >= GetAttributeCount()) {
        return L"";
    }
    return m_pOwner->m_pstrXML + m_aAttributes[index].valueStart;
}

LPCWSTR CXmlNode::GetAttributeValue(LPCWSTR name) {
    if (m_pOwner == nullptr || name == nullptr) {
        return nullptr;
    }
    const int count = GetAttributeCount();
    for (int i = 0; i < count; ++i) {
        if (std::wcscmp(m_pOwner->m_pstrXML + m_aAttributes[i].nameStart, name) == 0) {
            return m_pOwner->m_pstrXML + m_aAttributes[i].valueStart;
        }
    }
    return nullptr;
}

namespace {

bool CopyValue(LPCWSTR value, LPWSTR buffer, SIZE_T size) {
    if (value == nullptr || buffer == nullptr) {
        return false;
    }
    SIZE_T n = 0;
    while (n < size && value[n] != 0) {
        buffer[n] = value[n];
        ++n;
    }
    buffer[n] = 0;
    return true;
}

} // namespace

bool CXmlNode::GetAttributeValue(int index, LPWSTR buffer, SIZE_T size) {
    if (m_pOwner == nullptr || index < 0 || index >= GetAttributeCount()) {
        return false;
    }
    return CopyValue(m_pOwner->m_pstrXML + m_aAttributes[index].valueStart, buffer, size);
}

bool CXmlNode::GetAttributeValue(LPCWSTR name, LPWSTR buffer, SIZE_T size) {
    return CopyValue(GetAttributeValue(name), buffer, size);
}

} // namespace SkinUI
