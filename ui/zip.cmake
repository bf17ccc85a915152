target_sources(skinui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ZipArchive.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZipEntryFields.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZipEntryName.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZipEntryStream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZipHandle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZipReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZipSource.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZipTargetPath.cpp)
