# The statistics component: its interface, event reports, download batches and the send loop.
target_sources(statistics PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DataStatisticsImp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EventReports.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DownloadBatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DeviceInfoReport.cpp)
