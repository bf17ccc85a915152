# The edit and the date-time picker: skin controls that lay a platform edit
# window or date picker over themselves while they have the focus.
target_sources(skinui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/controls/NativeOverlayWnd.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/EditUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/EditWnd.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/DateTimeUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/DateTimeWnd.cpp)
