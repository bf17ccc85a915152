# Text helpers, crash-dump filter and HTTP transport of the statistics component,
# and the loopback HTTP server they are tested against.
uninst_add_test(text_helpers_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TextHelpersTests.cpp
  LIBS statistics CP936)
uninst_add_test(crash_dump_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CrashDumpFilterTests.cpp
  LIBS statistics)
uninst_add_test(http_transport_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/HttpPostFormTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/HttpRequestQueueTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/HttpTestUtil.cpp
  LIBS statistics)
uninst_add_test(loopback_server_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/LoopbackHttpServerTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/HttpTestUtil.cpp
  LIBS statistics)
add_dependencies(loopback_server_tests loopback_server)
target_compile_definitions(loopback_server_tests PRIVATE
  LOOPBACK_SERVER_EXE="$<TARGET_FILE:loopback_server>")
