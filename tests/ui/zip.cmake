uninst_add_test(ui_zip_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/ZipArchiveTests.cpp LIBS skinui CP936 HEAPCHECK
                TIMEOUT 120)
