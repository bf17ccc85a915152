# The rich edit: a container hosting the platform's windowless rich-text
# engine through its text-host interface.
target_sources(skinui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/controls/TextHost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/TextHostSetup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/RichEditUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/RichEditUIMessages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/RichEditUILayout.cpp)
