#pragma once
#include <windows.h>

#include "ui/ContainerUI.h"

namespace SkinUI {

// Shows one child at a time: the selected one fills the inset rectangle,
// the others are hidden. The first visible child added becomes the
// selection; "tabselect" (wParam: new index, lParam: old index) tells of a
// change made by SelectItem.
class CTabLayoutUI : public CContainerUI {
public:
    CTabLayoutUI();

    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    void SetPos(RECT rc) override;
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;

    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    void RemoveAll() override;

    // -1 when nothing is selected.
    int GetCurSel() const;
    // False for an index out of range.
    bool SelectItem(int index);

protected:
    int m_iCurSel;
};

} // namespace SkinUI
