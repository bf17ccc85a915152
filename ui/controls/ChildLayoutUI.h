#pragma once
#include <windows.h>

#include "ui/ContainerUI.h"

namespace SkinUI {

// A container filled with the control tree of another skin file
// ("xmlfile"), built when the layout is initialised in its window. Tags
// nested inside it in the skin are not its children: it doesn't answer
// "IContainer" or "Container".
class CChildLayoutUI : public CContainerUI {
public:
    CChildLayoutUI();
    ~CChildLayoutUI() override;

    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    // Builds the tree of the skin file once; a file that builds nothing
    // leaves the layout without children.
    void Init() override;
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;

    void SetChildLayoutXML(LPCWSTR fileName);
    const CUIString& GetChildLayoutXML() const;

protected:
    CUIString m_pstrXMLFile;
    bool m_bBuilt;
};

} // namespace SkinUI
