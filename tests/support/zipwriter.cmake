target_sources(test_support PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ZipWriter.cpp
                                    ${CMAKE_CURRENT_LIST_DIR}/ZipCorruption.cpp)
