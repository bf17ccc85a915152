# Helpers shared by the UI desktop tests: the host window, the message pump,
# real input and the child search of the test controls.
add_library(ui_test_support STATIC
  ${CMAKE_CURRENT_LIST_DIR}/support/ChildSearch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/support/DesktopInput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/support/DesktopPump.cpp
  ${CMAKE_CURRENT_LIST_DIR}/support/HostWindow.cpp)
target_link_libraries(ui_test_support PUBLIC skinui test_support)
