#pragma once
#include <windows.h>

#include "ui/WindowManagerUI.h"
#include "ui/controls/NativeOverlayWnd.h"

namespace SkinUI {

class CComboUI;
class CVerticalLayoutUI;

// The drop-down of a combo: a borderless tool popup with a window manager
// of its own, whose root column borrows the combo's children while it
// lives. It closes itself when it loses the keyboard focus; whichever way
// its window goes (WM_CLOSE, destroyed with its owner window, or the combo
// deleted), the children go back to the combo first.
class CComboWnd : public CNativeOverlayWnd {
public:
    CComboWnd();

    LPCWSTR GetWindowClassName() const override;

    // Places and shows the popup below the owner, or above it when the
    // popup would reach below the primary monitor's work area. False when
    // no window could be made.
    bool Init(CComboUI* owner);
    // Scrolls the column so that the child at index is wholly visible (only
    // while the owner has a selection).
    void EnsureVisible(int index);
    void Scroll(int dx, int dy);

protected:
    ~CComboWnd() override;

    LRESULT HandleOverlayMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void LeaveOwner() override;
    void ForgetOwner() override;

private:
    RECT PopupRect() const;
    void BorrowChildren();
    // The owner's children leave the column and this window's manager and
    // are attached to the owner's manager and laid out there again.
    void ReturnChildren();
    void OnKeyDown(WPARAM key);

    CWindowManagerUI m_pm;
    CComboUI* m_pOwner;
    CVerticalLayoutUI* m_pLayout;
    int m_iOldSel;
    bool m_bBorrowing;
};

} // namespace SkinUI
