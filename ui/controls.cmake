# Labels, text, buttons, options, check boxes, progress bars and sliders.
target_sources(skinui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/controls/ControlStateUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/LabelUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/LabelUIEffects.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/TextUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/ButtonUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/OptionUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/CheckBoxUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/ProgressUI.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls/SliderUI.cpp)
