# The edit and the date-time picker in a shown window under real mouse and
# keyboard input: typing, Enter and Tab, picking and clearing dates through
# the picker and its calendar, state images, malformed attributes and
# deletion while the platform window is open; textentry_sample.png in the
# test's working folder for a person to look at. Needs an X display.
uninst_add_test(ui_textentry_tests DESKTOP
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/EditTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/DateTimeTests.cpp
  LIBS skinui ui_test_support)
