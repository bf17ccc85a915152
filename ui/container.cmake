# Containers (child ownership, stacking, scrolling) and the scroll bar.
target_sources(skinui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ContainerUI.cpp
                              ${CMAKE_CURRENT_LIST_DIR}/ContainerUIScroll.cpp
                              ${CMAKE_CURRENT_LIST_DIR}/ContainerUILayout.cpp
                              ${CMAKE_CURRENT_LIST_DIR}/controls/ScrollBarUI.cpp
                              ${CMAKE_CURRENT_LIST_DIR}/controls/ScrollBarUIEvents.cpp
                              ${CMAKE_CURRENT_LIST_DIR}/controls/ScrollBarUIPaint.cpp)
