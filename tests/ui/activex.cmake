# The ActiveX host and the web browser, against the project's own in-process
# COM test control (loaded by module path and through a class registration)
# and the platform's web browser, in a shown window with real input.
add_library(activex_test_control SHARED ${CMAKE_CURRENT_LIST_DIR}/activex/TestControl.cpp)
set_target_properties(activex_test_control PROPERTIES PREFIX "" OUTPUT_NAME ActiveXTestControl)
target_include_directories(activex_test_control PRIVATE ${PROJECT_SOURCE_DIR})
target_link_options(activex_test_control PRIVATE -Wl,--kill-at)
target_link_libraries(activex_test_control PRIVATE ole32 oleaut32 uuid gdi32 user32)
uninst_add_test(ui_activex_tests DESKTOP
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/activex/ActiveXTests.cpp
  LIBS skinui ui_test_support ws2_32)
add_dependencies(ui_activex_tests activex_test_control)
