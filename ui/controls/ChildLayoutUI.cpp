#include <windows.h>

#include "ui/controls/ChildLayoutUI.h"

#include "ui/DialogBuilder.h"
#include "ui/SkinBuildLimits.h"
#include "ui/WindowManagerUI.h"

#include <cwchar>

namespace SkinUI {

CChildLayoutUI::CChildLayoutUI() : m_bBuilt(false) {}

CChildLayoutUI::~CChildLayoutUI() = default;

LPCWSTR CChildLayoutUI::GetClass() const {
    return L"ChildLayoutUI";
}

LPVOID CChildLayoutUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"ChildLayout") == 0) {
        return static_cast<CChildLayoutUI*>(this);
    }
    return CControlUI::QueryInterfaceByName(name);
}

// Runs instead of the base Init (no InitSelf, no init delegates). The tree
// is added while this layout's build scope is open, so child layouts inside
// it that build in turn count against the same nesting limit: a file that
// contains itself stops there.
void CChildLayoutUI::Init() {
    if (m_pstrXMLFile.IsEmpty() || m_bBuilt) {
        return;
    }
    m_bBuilt = true;
    CSkinBuildScope scope(CSkinBuildScope::kChildLayoutLevels);
    CControlUI* tree = nullptr;
    if (scope.IsAllowed()) {
        CDialogBuilder builder;
        tree = builder.Create(m_pstrXMLFile, nullptr, nullptr, m_pManager, nullptr);
    }
    if (tree == nullptr) {
        RemoveAll();
        return;
    }
    if (!Add(tree)) {
        if (m_pManager != nullptr) {
            tree->AttachManager(m_pManager, nullptr, false);
        }
        delete tree;
    }
}

void CChildLayoutUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name != nullptr && std::wcscmp(name, L"xmlfile") == 0) {
        SetChildLayoutXML(value);
    } else {
        CContainerUI::ApplyAttribute(name, value);
    }
}

void CChildLayoutUI::SetChildLayoutXML(LPCWSTR fileName) {
    m_pstrXMLFile = fileName != nullptr ? fileName : L"";
}

const CUIString& CChildLayoutUI::GetChildLayoutXML() const {
    return m_pstrXMLFile;
}

} // namespace SkinUI
