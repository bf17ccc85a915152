# Layouts built from inline skin XML (skin files in an archive in memory)
# and laid out into known rectangles; splitter drags by synthetic events.
# No window.
uninst_add_test(ui_layout_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/LayoutArithmeticTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TabChildLayoutTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/SplitterTests.cpp
  LIBS skinui)
