# Core value types, the skin XML reader and the native window base.
set(_core_res ${CMAKE_CURRENT_BINARY_DIR}/core_resources)
file(MAKE_DIRECTORY ${_core_res})
file(WRITE ${_core_res}/skin_ok.xml
     "<Window size=\"10,10\"><Label text=\"卸载程序\"/></Window>")
file(WRITE ${_core_res}/skin_bad.xml "<Window><Label></Window>")
file(WRITE ${_core_res}/CoreTestResources.rc
     "101 SKINXML \"${_core_res}/skin_ok.xml\"\n102 SKINXML \"${_core_res}/skin_bad.xml\"\n")

uninst_add_test(ui_core_tests CP936
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/UIStringTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ContainerTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/DelegateTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/XmlDocumentTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/XmlLoadTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/XmlRobustnessTests.cpp
          ${_core_res}/CoreTestResources.rc
  LIBS skinui)
