# The control base: attributes, properties, looks and painting, and the
# attribute value readers that controls share.
target_sources(skinui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/UIAttributeValue.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ControlUIProperties.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ControlUIAttributes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ControlUILook.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ControlUIPaint.cpp)
