# Text helpers, crash-dump filter and the HTTP transport.
target_sources(statistics PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CodePageConverter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextHelpers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BracelessFastWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CrashDumpFilter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HttpTransport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HttpRequestQueue.cpp)
target_link_libraries(statistics PUBLIC shell32 dbghelp)
