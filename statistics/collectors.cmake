# System-information collectors: registry keys, installed software, OS code, WMI hardware groups,
# network adapters and the machine identifier.
target_sources(statistics PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/RegistryKey.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InstalledSoftwareScanner.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OsCode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WmiProcessState.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WmiSession.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HardwareRows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HardwareCollectors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NetworkAdapters.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MachId.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ServerListCache.cpp)
