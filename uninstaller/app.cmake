target_sources(uninstaller_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Relaunch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SelfDelete.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Shutdown.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UninstallerFrameWnd.cpp)
