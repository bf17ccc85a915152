#include <windows.h>

#include "ui/controls/ControlStateUI.h"
#include "ui/WindowManagerUI.h"

namespace SkinUI {

UINT SyncFocusAndEnabledBits(UINT state, const CControlUI& control) {
    state = control.IsFocused() ? (state | UISTATE_FOCUSED) : (state & ~UISTATE_FOCUSED);
    return control.IsEnabled() ? (state & ~UISTATE_DISABLED) : (state | UISTATE_DISABLED);
}

bool DrawStateImage(CControlUI& control, HDC hDC, CUIString& image, LPCWSTR modify) {
    if (image.IsEmpty() || hDC == nullptr || control.GetManager() == nullptr) {
        return false;
    }
    if (control.DrawImage(hDC, image, modify)) {
        return true;
    }
    image.Empty();
    return false;
}

} // namespace SkinUI
