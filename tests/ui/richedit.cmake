# The rich edit in a shown window: texts, real typing, focus and Tab,
# painting, scrolling and skin attributes. Needs an X display (DISPLAY).
uninst_add_test(ui_richedit_tests DESKTOP
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RichEditTextTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/RichEditInputTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/RichEditViewTests.cpp
  LIBS skinui ui_test_support)
