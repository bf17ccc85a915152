# The uninstaller's statistics events against the loopback server, and the questionnaire
# exchange (through the real request queue, to a real window).
uninst_add_test(statistics_events_tests CP936
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/StatisticsEventsTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/SurveyTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/EventsTestUtil.cpp
          ${CMAKE_CURRENT_LIST_DIR}/EventsTestVersion.rc
          ${PROJECT_SOURCE_DIR}/tests/statistics/StatisticsTestUtil.cpp
          ${PROJECT_SOURCE_DIR}/tests/statistics/HttpTestUtil.cpp
  LIBS uninstaller_core)
