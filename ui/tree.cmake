# Tree views: a list whose rows are the nodes of a tree.
target_sources(skinui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/controls/TreeNodeUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/TreeViewUI.cpp)
