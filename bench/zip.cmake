add_executable(zip_extract_bench ${CMAKE_CURRENT_LIST_DIR}/ZipExtractBench.cpp
                                 ${PROJECT_SOURCE_DIR}/tests/support/ZipWriter.cpp
                                 ${PROJECT_SOURCE_DIR}/tests/support/FileUtil.cpp)
target_link_libraries(zip_extract_bench PRIVATE skinui Deps::zlib)
