target_sources(uninstaller_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AppZipArchive.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AppZipWriter.cpp)
