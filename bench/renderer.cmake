# Decoding and drawing a set of skin images made by the benchmark itself.
add_executable(RenderBench ${CMAKE_CURRENT_LIST_DIR}/RenderBench.cpp
                           ${PROJECT_SOURCE_DIR}/tests/support/ImageFiles.cpp
                           ${PROJECT_SOURCE_DIR}/tests/support/ZipWriter.cpp
                           ${PROJECT_SOURCE_DIR}/tests/support/FileUtil.cpp)
target_include_directories(RenderBench PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(RenderBench PRIVATE skinui Deps::stb Deps::zlib)
# PNG decoding: stb_image whole, its own inflate alone and zlib's inflate of the
# same data, for the real skin images and soft patterns.
add_executable(PngDecodeBench ${CMAKE_CURRENT_LIST_DIR}/PngDecodeBench.cpp)
add_dependencies(PngDecodeBench uninst_resources)
target_include_directories(PngDecodeBench PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(PngDecodeBench PRIVATE skinui test_support Deps::stb Deps::zlib)
target_compile_definitions(PngDecodeBench PRIVATE
  UNINST_SKIN_IMAGES="Z:${PROJECT_BINARY_DIR}/resources/skin-images")
