# The system-information collectors: registry keys, installed software, OS code, machine
# identifier, network, and the WMI rows (the real WMI collectors have a program of their own, as
# their process-wide caches outlive a test).
uninst_add_test(collectors_tests CP936
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RegistryKeyTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/InstalledSoftwareScannerTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/SystemFactsTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/HardwareRowsTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ScratchRegistry.cpp
  LIBS statistics Deps::gtest_main
  # The scans read every Uninstall key: no other program may change them meanwhile.
  PROPERTIES RESOURCE_LOCK uninstall_registry)
uninst_add_test(wmi_collectors_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/WmiCollectorsTests.cpp
  LIBS statistics Deps::gtest_main)
