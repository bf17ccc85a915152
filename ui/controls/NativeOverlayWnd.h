#pragma once
#include <windows.h>

#include "ui/WindowWnd.h"

namespace SkinUI {

// A window that a skin control opens over itself while the user works in
// it: a platform control laid over the control, or a combo's drop-down. The
// object lives as long as its window: it deletes itself once the window is
// gone, after telling its owner.
class CNativeOverlayWnd : public CWindowWnd {
public:
    // For the owner's destructor: the window stops reporting to the owner
    // and goes away, at once, or (when the owner is deleted from inside one
    // of the window's own messages) once that message has returned, since a
    // platform control must not be destroyed under its own feet.
    void Abandon();
    // The owner's pointer is cleared first, so that nothing reaching the
    // owner while the window goes finds it.
    template <class Wnd> static void AbandonOwned(Wnd*& owned) {
        if (Wnd* window = owned) {
            owned = nullptr;
            window->Abandon();
        }
    }

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
