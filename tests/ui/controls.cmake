# Labels, text, buttons, options, check boxes, progress bars and sliders:
# drawn into memory surfaces and driven by synthetic events, then in a shown
# window under real mouse and keyboard input. Needs an X display (DISPLAY).
uninst_add_test(ui_controls_tests DESKTOP
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ControlsTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ControlsWindowTests.cpp
  LIBS skinui ui_test_support)
