# The statistics component: objects, statuses, event reports and their send loop, download batches
# (against the loopback server), and crashes after a statistics operation (in child copies).
uninst_add_test(statistics_component_tests CP936
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DataStatisticsTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/EventReportTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/DownloadBatchTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/StatisticsTestUtil.cpp
          ${CMAKE_CURRENT_LIST_DIR}/FailingAllocator.cpp
          ${CMAKE_CURRENT_LIST_DIR}/HttpTestUtil.cpp
  LIBS statistics)
