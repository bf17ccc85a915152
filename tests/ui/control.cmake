# The control base, containers and scroll bars without a window: attributes
# from text, positions, search, events, lifecycle, layout into known
# rectangles, scroll-bar geometry and painting into 32-bit DIBs.
uninst_add_test(ui_control_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RendererTestUtil.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ControlAttributeTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ControlBehaviourTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ControlPaintTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ContainerTreeTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ContainerScrollTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ScrollBarTests.cpp
  LIBS skinui ui_test_support)

# Real windows and real input on one desktop: the window base, the manager's
# input, focus, notices, timers and delayed deletion, invalidation, scrolling
# containers and the painted scroll-bar states (the scroll-bar skin is this
# program's archive). Needs an X display (DISPLAY).
uninst_add_test(ui_window_tests DESKTOP
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RendererTestUtil.cpp
          ${CMAKE_CURRENT_LIST_DIR}/WindowWndTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ManagerWindowTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ControlWindowTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ContainerWindowTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ScrollBarPaintTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/RendererWindowTests.cpp
  LIBS skinui ui_test_support comctl32)
