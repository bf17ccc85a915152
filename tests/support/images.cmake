# Image files (PNG, BMP through stb_image_write) and 32-bit DIB surfaces for
# drawing tests.
target_sources(test_support PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ImageFiles.cpp
                                    ${CMAKE_CURRENT_LIST_DIR}/DibSurface.cpp)
target_link_libraries(test_support PUBLIC Deps::stb gdi32)
