# Containers and scroll bars: trees built in code, laid out into known
# rectangles; no window.
uninst_add_test(ui_container_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ContainerTreeTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ContainerScrollTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ScrollBarTests.cpp
  LIBS skinui)

# Scroll bar painting: state images from a skin archive in memory, which is
# process-wide, so in a program of its own.
uninst_add_test(ui_scrollbar_paint_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ScrollBarPaintTests.cpp
  LIBS skinui)

# Real windows and real input (wheel, clicks, drags, keys) and the painted
# scroll bar states; needs an X display (DISPLAY).
uninst_add_test(ui_container_window_tests DESKTOP
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ContainerWindowTests.cpp
  LIBS skinui ui_test_support)
