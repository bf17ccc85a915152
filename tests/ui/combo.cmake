# The combo and the combo box in a shown window under real mouse and keyboard
# input: opening by click and F4, keys and the wheel in the popup, Escape,
# placement below or above, the arrow strip's state pictures, damaged
# attributes, and the popup when its combo or window goes; and the sample skin
# of every control (samples/framework_sample.xml), whose picture is left as
# framework_sample.png in the test's working folder. Needs an X display.
uninst_add_test(ui_combo_tests DESKTOP
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ComboTests.cpp
  LIBS skinui ui_test_support)
