#pragma once
#include <windows.h>

// Messages that other threads post to the main window. The removal worker never calls a control
// itself: it posts these, and the window's thread stores the value and repaints.
// (WM_USER + 1 is WM_UNINST_SURVEY_READY, posted by the questionnaire exchange.)

// wParam: the removal's percentage, 0 to 100. Posted only when the value changes.
constexpr UINT WM_UNINST_PROGRESS = WM_USER + 2;

// wParam: the wizard step to show (4 once the removal has finished).
constexpr UINT WM_UNINST_SET_STEP = WM_USER + 3;

// The removal refused the installation directory (not absolute, a drive or share root, or a
// system folder): nothing was removed. The window reports the configuration error and closes.
constexpr UINT WM_UNINST_CONFIG_ERROR = WM_USER + 4;
