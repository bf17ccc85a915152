#pragma once
#include <windows.h>

#include "ui/controls/NativeOverlayWnd.h"

namespace SkinUI {

class CDateTimeUI;

// The platform's date picker over a date-time control while it has the
// focus. It closes itself when it loses the focus (not to its own drop-down
// calendar), when that calendar closes up, and when Delete, Backspace or
// Escape is released in it.
class CDateTimeWnd : public CNativeOverlayWnd {
public:
    CDateTimeWnd();

    // Creates the picker over the owner when it does not exist yet, sets the
    // owner's date into it, shows it and gives it the keyboard focus. False
    // when it cannot be created; the object may then be gone already.
    bool Init(CDateTimeUI* owner);

    LPCWSTR GetWindowClassName() const override;
    LPCWSTR GetSuperclassName() const override;

protected:
    LRESULT HandleOverlayMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void LeaveOwner() override;
    void ForgetOwner() override;

private:
    // The picked date goes to the owner unless the edit was settled already.
    void FinishEdit();
    bool IsOwnCalendar(HWND hWnd) const;
    LRESULT CloseWithMode(int mode, UINT message, WPARAM wParam, LPARAM lParam);

    CDateTimeUI* m_pOwner;
};

} // namespace SkinUI
