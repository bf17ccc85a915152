# Loopback HTTP server for tests, and its stand-alone form for the demo.
target_sources(test_support PRIVATE ${CMAKE_CURRENT_LIST_DIR}/LoopbackHttpServer.cpp)

add_executable(loopback_server ${CMAKE_CURRENT_LIST_DIR}/LoopbackServerMain.cpp
                               ${CMAKE_CURRENT_LIST_DIR}/LoopbackHttpServer.cpp)
target_include_directories(loopback_server PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(loopback_server PRIVATE ws2_32 shell32)
