uninst_add_test(e2e_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/UninstE2ETests.cpp
  LIBS ole32 shell32 TIMEOUT 600)
add_dependencies(e2e_tests uninst InstallerChannelPlugin)
target_compile_definitions(e2e_tests PRIVATE
  UNINST_EXE="$<TARGET_FILE:uninst>"
  UNINST_STANDIN_PLUGIN="$<TARGET_FILE:InstallerChannelPlugin>"
  UNINST_SERVERLIST="${PROJECT_BINARY_DIR}/resources/Serverlist.ini"
  UNINST_SYSTEMINFOKEYS="${PROJECT_SOURCE_DIR}/resources/SystemInfoKeys.xml")
# Uses the one %LOCALAPPDATA%\uninst.exe of the prefix.
set_tests_properties(e2e_tests PROPERTIES RUN_SERIAL TRUE)

# The demo's driver (scripts/demo.sh), not a test.
add_executable(uninst_demo ${CMAKE_CURRENT_LIST_DIR}/DemoDriver.cpp)
target_link_libraries(uninst_demo PRIVATE test_support)
target_link_options(uninst_demo PRIVATE -municode)
