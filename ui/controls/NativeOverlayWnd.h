#pragma once
#include <windows.h>

#include "ui/WindowWnd.h"

namespace SkinUI {

// A platform control laid over a skin control while the user edits it. The
// object lives as long as its window: it deletes itself once the window is
// gone, after telling its owner.
class CNativeOverlayWnd : public CWindowWnd {
public:
    // For the owner's destructor: the window stops reporting to the owner
    // and goes away, at once, or (when the owner is deleted from inside one
    // of the window's own messages) once that message has returned, since a
    // platform control must not be destroyed under its own feet.
    void Abandon();

protected:
    CNativeOverlayWnd();
    ~CNativeOverlayWnd() override;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) final;
    void OnWindowDestroyed(HWND hWnd) final;

    virtual LRESULT HandleOverlayMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // The window is gone: the owner, if still there, lets go of this object.
    virtual void LeaveOwner() = 0;
    // The owner is gone: nothing may reach it any more.
    virtual void ForgetOwner() = 0;

    bool m_bInit;

private:
    int m_nMessageDepth;
    bool m_bGone;
};

} // namespace SkinUI
