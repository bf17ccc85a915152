# Window creation to first completed paint: a skinned sample window against a
# plain Win32 window painting one bitmap.
add_executable(first_paint_bench ${CMAKE_CURRENT_LIST_DIR}/FirstPaintBench.cpp)
target_link_libraries(first_paint_bench PRIVATE skinui test_support)
