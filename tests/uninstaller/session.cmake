set(SERVERLIST ${PROJECT_BINARY_DIR}/resources/Serverlist.ini)
set(BIGFILE ${CMAKE_CURRENT_BINARY_DIR}/big.bin)
string(REPEAT "b" 5000 _big)
file(WRITE ${BIGFILE} "${_big}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/TestResources.rc.in
               ${CMAKE_CURRENT_BINARY_DIR}/TestResources.rc @ONLY)
uninst_add_test(session_tests CP936
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SessionTests.cpp ${CMAKE_CURRENT_BINARY_DIR}/TestResources.rc
  LIBS uninstaller_core)
