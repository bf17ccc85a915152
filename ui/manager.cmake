# The window manager: process-wide state, per-window resources, messages,
# events, notifications, timers, focus and painting; the control base it drives.
target_sources(skinui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/WindowManagerUIState.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowManagerUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowManagerUIFonts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowManagerUIResources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowManagerUINotify.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowManagerUIFocus.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowManagerUIMessages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowManagerUIPaint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ControlUI.cpp)
