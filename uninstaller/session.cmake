target_sources(uninstaller_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TextConvert.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EventThreadList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ConfigReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ConfigFileCopy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EmbeddedResources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UninstallSession.cpp)
