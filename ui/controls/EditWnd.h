#pragma once
#include <windows.h>

#include "ui/Win32Handles.h"
#include "ui/controls/NativeOverlayWnd.h"

namespace SkinUI {

class CEditUI;

// The platform edit window over an edit control while it has the focus. It
// closes itself when it loses the keyboard focus.
class CEditWnd : public CNativeOverlayWnd {
public:
    CEditWnd();

    // Creates, fills and shows the window over the owner and gives it the
    // keyboard focus. False when the window cannot be created; the object
    // may then be gone already (see CEditUI::OpenNativeWindow).
    bool Init(CEditUI* owner);

    LPCWSTR GetWindowClassName() const override;
    LPCWSTR GetSuperclassName() const override;

protected:
    LRESULT HandleOverlayMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void LeaveOwner() override;
    void ForgetOwner() override;

private:
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnCtlColor(HDC hDC);

    CEditUI* m_pOwner;
    CGdiObject<HBRUSH> m_brush;
};

} // namespace SkinUI
