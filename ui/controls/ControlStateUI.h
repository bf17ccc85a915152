#pragma once
#include <windows.h>

#include "ui/ControlUI.h"
#include "ui/UIString.h"

namespace SkinUI {

// Bits of the button state shared by buttons, options, sliders, scroll
// bars, edits, combos and list items.
enum ButtonStateUI : UINT {
    UISTATE_FOCUSED = 0x01,
    UISTATE_SELECTED = 0x02,
    UISTATE_DISABLED = 0x04,
    UISTATE_HOT = 0x08,
    UISTATE_PUSHED = 0x10,
    UISTATE_CAPTURED = 0x40,
};

// The state with its focused and disabled bits brought in line with the
// control, as they must be before a state image is chosen.
UINT SyncFocusAndEnabledBits(UINT state, const CControlUI& control);

// Draws one state image of the control. An image that reports failure is
// emptied so that it is not tried again; without a manager nothing can be
// drawn yet, and nothing is emptied either.
bool DrawStateImage(CControlUI& control, HDC hDC, CUIString& image, LPCWSTR modify = nullptr);

} // namespace SkinUI
