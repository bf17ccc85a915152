# The control base: attributes from text, positions and size limits, search,
# events, visibility, lifecycle, and painting into 32-bit DIBs; no window.
uninst_add_test(ui_control_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RendererTestUtil.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ControlAttributeTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ControlBehaviourTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ControlPaintTests.cpp
  LIBS skinui ui_test_support)

# Real windows: invalidation, painting through the manager, focus, timers,
# delayed deletion and tool tips; needs an X display (DISPLAY).
uninst_add_test(ui_control_window_tests DESKTOP
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RendererTestUtil.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ControlWindowTests.cpp
  LIBS skinui ui_test_support comctl32)
