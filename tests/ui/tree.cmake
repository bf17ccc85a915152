# Tree views in a shown window: rows from a skin and by code, indent,
# folder buttons and double clicks, cascading check boxes.
uninst_add_test(ui_tree_tests DESKTOP
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TreeViewTests.cpp
  LIBS skinui ui_test_support)
