# Lists: the list with its header and body, the header items, and the label,
# text and container elements that stand in lists and combos.
target_sources(skinui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/controls/ListLookUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/ListItemCoreUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/ListElementUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/ListLabelElementUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/ListTextElementUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/ListContainerElementUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/ListHeaderUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/ListHeaderItemUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/ListBodyUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/ListUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/ListUISelection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/ListUILook.cpp)
