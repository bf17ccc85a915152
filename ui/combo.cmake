# The combo and the combo box: a drop-down list whose popup window borrows
# the combo's list elements.
target_sources(skinui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/controls/ComboWnd.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/ComboUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/ComboUIItems.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/ComboUILook.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/ComboBoxUI.cpp)
