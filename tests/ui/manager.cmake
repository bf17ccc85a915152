# The window manager and the control base it drives.
set(_manager_res ${CMAKE_CURRENT_BINARY_DIR}/manager_resources)
file(MAKE_DIRECTORY ${_manager_res})
# Resource 12 of type TESTIMG: a 2 x 2 24-bit BMP (red, green / blue, white).
file(WRITE ${_manager_res}/ManagerTestResources.rc
     "12 TESTIMG { 0x4d42, 0x0046, 0x0000, 0x0000, 0x0000, 0x0036, 0x0000, 0x0028, 0x0000, "
     "0x0002, 0x0000, 0x0002, 0x0000, 0x0001, 0x0018, 0x0000, 0x0000, 0x0010, 0x0000, 0x0b13, "
     "0x0000, 0x0b13, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x00ff, 0xff00, 0xffff, 0x0000, "
     "0x0000, 0x00ff, 0x00ff, 0x0000 }\n")

# Resources, fonts, default lists, option groups and the skin archive; no window.
uninst_add_test(ui_manager_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ManagerResourceTests.cpp
          ${_manager_res}/ManagerTestResources.rc
  LIBS skinui ui_test_support)
