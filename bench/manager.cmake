# Window creation to first completed paint: a skinned sample window against a
# plain Win32 window painting one bitmap.
add_executable(first_paint_bench ${CMAKE_CURRENT_LIST_DIR}/FirstPaintBench.cpp
                                 ${PROJECT_SOURCE_DIR}/tests/support/ZipWriter.cpp
                                 ${PROJECT_SOURCE_DIR}/tests/support/FileUtil.cpp)
target_link_libraries(first_paint_bench PRIVATE skinui Deps::zlib Deps::stb)
# The real wizard window: redraw requests while built and up to its first
# paint, and its skin's build and layout per control beside larger skins.
add_executable(wizard_window_bench ${CMAKE_CURRENT_LIST_DIR}/WizardWindowBench.cpp
                                   ${CMAKE_CURRENT_LIST_DIR}/RedrawCounter.cpp)
target_include_directories(wizard_window_bench PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(wizard_window_bench PRIVATE uninstaller_core uninst_resources)
