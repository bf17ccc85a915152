# Labels, text, buttons, options, check boxes, progress bars and sliders
# drawn into memory surfaces and driven by synthetic events (no window).
uninst_add_test(ui_controls_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ControlsTests.cpp
  LIBS skinui ui_test_support)

# The same controls in a shown window under real mouse and keyboard input,
# and a sample picture (controls_sample.png in the test's working folder) for
# a person to look at. Needs an X display (DISPLAY).
uninst_add_test(ui_controls_window_tests DESKTOP
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ControlsWindowTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ControlsSampleTests.cpp
  LIBS skinui ui_test_support)

