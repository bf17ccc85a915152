# The removal engine on 20,000 small files against "rd /s /q", with its peak memory.
add_executable(removal_bench ${CMAKE_CURRENT_LIST_DIR}/RemovalBench.cpp)
target_link_libraries(removal_bench PRIVATE uninstaller_core psapi)
