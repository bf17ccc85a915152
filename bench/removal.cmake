# The removal engine against a minimal recursion and "rd /s /q" at 2,000, 20,000 and
# 100,000 small files, with its peak memory.
add_executable(removal_bench ${CMAKE_CURRENT_LIST_DIR}/RemovalBench.cpp)
target_link_libraries(removal_bench PRIVATE uninstaller_core psapi)
