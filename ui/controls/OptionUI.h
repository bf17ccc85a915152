#pragma once
#include <windows.h>

#include "ui/controls/ButtonUI.h"

namespace SkinUI {

// A button with a selected state. Options that share a group name in one
// window keep at most one of them selected (the window manager holds the
// groups); "selectchanged" tells of a change.
class COptionUI : public CButtonUI {
public:
    COptionUI();
    ~COptionUI() override;

    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    bool Activate() override;
    void AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool init = true) override;
    // Disabling keeps the selection: a selected option shows selected and
    // disabled.
    void SetEnabled(bool enable = true) override;
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintStateImages(HDC hDC) override;
    void PaintText(HDC hDC) override;
    virtual void Select(bool selected = true);

    bool IsSelected() const;
    // Null or empty: no group.
    void SetGroup(LPCWSTR groupName = nullptr);
    LPCWSTR GetGroup() const;

    LPCWSTR GetSelectedImage() const;
    void SetSelectedImage(LPCWSTR image);
    LPCWSTR GetSelectedHotImage() const;
    void SetSelectedHotImage(LPCWSTR image);
    // The option's own fore image, drawn over every state.
    LPCWSTR GetForeImage() const;
    void SetForeImage(LPCWSTR image);
    DWORD GetSelectedBkColor() const;
    void SetSelectedBkColor(DWORD color);
    DWORD GetSelectedTextColor() const;
    void SetSelectedTextColor(DWORD color);

protected:
    // Leaves the manager's group of the current name, when in one.
    void LeaveGroup();

    bool m_bSelected;
    CUIString m_sGroupName;
    DWORD m_dwSelectedBkColor;
    DWORD m_dwSelectedTextColor;
    CUIString m_sSelectedImage;
    CUIString m_sSelectedHotImage;
    CUIString m_sOptionForeImage;
};

} // namespace SkinUI
