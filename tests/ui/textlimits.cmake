# Mark-up text and skin fonts under hostile input: texts found by fuzzing,
# out-of-range font sizes, faces the PC does not have.
uninst_add_test(ui_text_limits_tests TIMEOUT 120
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/MarkupLimitsTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/SkinFontTests.cpp
  LIBS skinui ui_test_support)
