uninst_add_test(zip_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/ZipArchiveTests.cpp LIBS skinui CP936
                TIMEOUT 120)
