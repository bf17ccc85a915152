# Decoding and drawing a set of skin images made by the benchmark itself.
add_executable(RenderBench ${CMAKE_CURRENT_LIST_DIR}/RenderBench.cpp)
target_link_libraries(RenderBench PRIVATE skinui test_support)
