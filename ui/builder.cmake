# The dialog builder: skin files to fonts, images, default attribute lists,
# window settings and control trees; the table of control classes by tag.
target_sources(skinui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SkinBuildLimits.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ControlClassTable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DialogBuilder.cpp)
