# The removal engine: registry entries, shortcuts and the installation tree, on a worker thread
# that reaches the window only through posted messages.
target_sources(uninstaller_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/InstallDirGuard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LongPath.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RegistryRemoval.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RemovalEngine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShortcutRemoval.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TreeRemoval.cpp)
