# Core value types, delegates, the skin XML reader and the native window base.
target_sources(skinui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/UIString.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UIPtrArray.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UIStringPtrMap.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UIRect.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Delegate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DelegateListUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/XmlNode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/XmlDocument.cpp
  ${CMAKE_CURRENT_LIST_DIR}/XmlDocumentParse.cpp
  ${CMAKE_CURRENT_LIST_DIR}/XmlDocumentSkinArchive.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowWnd.cpp)
