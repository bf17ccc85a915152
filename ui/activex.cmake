# The ActiveX host and the web browser hosted through it.
target_sources(skinui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/controls/ActiveXUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/ActiveXCtrl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/ActiveXWnd.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/WebBrowserUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/WebBrowserUIHost.cpp)
