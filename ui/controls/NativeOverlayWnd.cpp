#include <windows.h>

#include "ui/controls/NativeOverlayWnd.h"

namespace SkinUI {

CNativeOverlayWnd::CNativeOverlayWnd() : m_bInit(false), m_nMessageDepth(0), m_bGone(false) {}

CNativeOverlayWnd::~CNativeOverlayWnd() = default;

void CNativeOverlayWnd::Abandon() {
    ForgetOwner();
    if (m_hWnd == nullptr) {
        delete this;
        return;
    }
    if (m_nMessageDepth > 0) {
        ::ShowWindow(m_hWnd, SW_HIDE);
        PostMessage(WM_CLOSE);
        return;
    }
    ::DestroyWindow(m_hWnd); // OnWindowDestroyed deletes the object
}

LRESULT CNativeOverlayWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    ++m_nMessageDepth;
    const LRESULT result = HandleOverlayMessage(message, wParam, lParam);
    // A message such as WM_CLOSE may have destroyed the window inside it.
    if (--m_nMessageDepth == 0 && m_bGone) {
        delete this;
    }
    return result;
}

void CNativeOverlayWnd::OnWindowDestroyed(HWND) {
    LeaveOwner();
    m_bGone = true;
    if (m_nMessageDepth == 0) {
        delete this;
    }
}

} // namespace SkinUI
