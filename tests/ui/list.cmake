# Lists in a shown window: skin tags, selection by real clicks, keys and the
# wheel, header separator drags, columns and sideways scrolling, row colours,
# links of text elements, and damaged attributes; a picture of list rows
# (list_sample.png in the test's working folder). Needs an X display.
uninst_add_test(ui_list_tests DESKTOP
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ListTests.cpp
  LIBS skinui ui_test_support)
