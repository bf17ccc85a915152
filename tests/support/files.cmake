target_sources(test_support PRIVATE ${CMAKE_CURRENT_LIST_DIR}/TempDir.cpp
                                    ${CMAKE_CURRENT_LIST_DIR}/FileUtil.cpp
                                    ${CMAKE_CURRENT_LIST_DIR}/Process.cpp
                                    ${CMAKE_CURRENT_LIST_DIR}/SampleInstall.cpp)
