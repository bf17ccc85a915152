# Building, laying out and selecting in lists of 1,000 and 10,000 rows; the
# ratios show how the costs grow.
add_executable(ListBench ${CMAKE_CURRENT_LIST_DIR}/ListBench.cpp)
target_link_libraries(ListBench PRIVATE skinui)
