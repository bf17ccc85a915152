#pragma once
#include <windows.h>

#include "ui/ControlUI.h"

#include <functional>

namespace UiTest {

// FindControl for the test controls that keep their children in a list of
// their own: the parent's flags (visible, enabled, hit test) first, then the
// parent itself and its children in the order UIFIND_ME_FIRST and
// UIFIND_TOP_FIRST ask for. childAt(n) gives child n of count.
SkinUI::CControlUI* FindInChildren(SkinUI::CControlUI& parent, int count,
                                   const std::function<SkinUI::CControlUI*(int)>& childAt,
                                   SkinUI::FINDCONTROLPROC proc, LPVOID data, UINT flags);

} // namespace UiTest
