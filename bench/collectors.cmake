# First WMI collection of the event groups against the cached answer.
add_executable(WmiCollectBench ${CMAKE_CURRENT_LIST_DIR}/WmiCollectBench.cpp)
target_link_libraries(WmiCollectBench PRIVATE statistics)
