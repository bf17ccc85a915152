# The removal engine on real trees, registry keys and shortcuts, with a real window receiving
# the posted progress and page messages (needs DISPLAY) and a loopback statistics server.
uninst_add_test(removal_tests CP936 DESKTOP
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RemovalRunTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/RemovalGuardTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/RemovalRegistryTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/RemovalTestUtil.cpp
          ${PROJECT_SOURCE_DIR}/tests/statistics/StatisticsTestUtil.cpp
  LIBS uninstaller_core
  # Both runs create and remove the sample game's registry entries and shortcuts.
  PROPERTIES RESOURCE_LOCK uninstall_registry)
