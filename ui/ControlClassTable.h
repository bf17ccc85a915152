#pragma once
#include <windows.h>

#include "ui/ControlUI.h"

namespace SkinUI {

// The control classes of the skin tags, the one place where a tag meets its
// class. A new control class joins the skin language by an entry here.
// Returns a new control, or null for a tag outside the table.
CControlUI* CreateControlByTag(LPCWSTR tag);

} // namespace SkinUI
