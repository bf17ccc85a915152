# Layouts: vertical and horizontal (with splitters), tile, tab and child
# layouts.
target_sources(skinui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/controls/LayoutSplitter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/LinearLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/VerticalLayoutUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/HorizontalLayoutUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/TileLayoutUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/TabLayoutUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/ChildLayoutUI.cpp)
