uninst_add_test(app_zip_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/AppZipArchiveTests.cpp
                LIBS uninstaller_core CP936 TIMEOUT 120)
