# Building, checking and percent-encoding an event report, hardware groups uncached and cached.
add_executable(EventReportBench ${CMAKE_CURRENT_LIST_DIR}/EventReportBench.cpp)
target_link_libraries(EventReportBench PRIVATE statistics)
