# Decoding and drawing a set of skin images made by the benchmark itself.
add_executable(RenderBench ${CMAKE_CURRENT_LIST_DIR}/RenderBench.cpp
                           ${PROJECT_SOURCE_DIR}/tests/support/ImageFiles.cpp
                           ${PROJECT_SOURCE_DIR}/tests/support/ZipWriter.cpp
                           ${PROJECT_SOURCE_DIR}/tests/support/FileUtil.cpp)
target_include_directories(RenderBench PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(RenderBench PRIVATE skinui Deps::stb Deps::zlib)
