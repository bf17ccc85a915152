# Building and laying out a skin of 1,000 controls, and laying it out again
# after a resize.
add_executable(LayoutBench ${CMAKE_CURRENT_LIST_DIR}/LayoutBench.cpp)
target_link_libraries(LayoutBench PRIVATE skinui)
