# The dialog builder and the layouts it builds, all from the one skin archive
# of this program: window settings, fonts, images, default lists, every
# control tag, the application's callback, includes and resources; layouts
# laid out into known rectangles and splitter drags by synthetic events; a
# sample window with every control and layout rendered into skin_sample.png
# (and the uninstaller-shaped frame into uninstall_frame.png) in the test's
# working folder for a person to look at, with a real splitter drag and wheel
# scrolling; and the uninstaller's own skin laid out at its window size (where
# the wizard's buttons and rows land). Needs an X display (DISPLAY).
set(_builder_res ${CMAKE_CURRENT_BINARY_DIR}/builder_resources)
file(MAKE_DIRECTORY ${_builder_res})
file(WRITE ${_builder_res}/skin101.xml
     "<Window size=\"123,45\"><VerticalLayout name=\"resRoot\"><Label name=\"fromResource\"/>"
     "<Include source=\"102\" count=\"2\"/></VerticalLayout></Window>")
file(WRITE ${_builder_res}/skin102.xml "<Part><Control name=\"part102\" height=\"3\"/></Part>")
file(WRITE ${_builder_res}/skin103.xml
     "<Window><HorizontalLayout name=\"numRoot\"><Include source=\"104\"/></HorizontalLayout>"
     "</Window>")
file(WRITE ${_builder_res}/skin104.xml "<Part><Control name=\"part104\"/></Part>")
# Resource 12 of type TESTIMG: a 2 x 2 24-bit BMP.
file(WRITE ${_builder_res}/BuilderTestResources.rc
     "101 SKINXML \"${_builder_res}/skin101.xml\"\n"
     "102 SKINXML \"${_builder_res}/skin102.xml\"\n"
     "103 300 \"${_builder_res}/skin103.xml\"\n"
     "104 300 \"${_builder_res}/skin104.xml\"\n"
     "12 TESTIMG { 0x4d42, 0x0046, 0x0000, 0x0000, 0x0000, 0x0036, 0x0000, 0x0028, 0x0000, "
     "0x0002, 0x0000, 0x0002, 0x0000, 0x0001, 0x0018, 0x0000, 0x0000, 0x0010, 0x0000, 0x0b13, "
     "0x0000, 0x0b13, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x00ff, 0xff00, 0xffff, 0x0000, "
     "0x0000, 0x00ff, 0x00ff, 0x0000 }\n")

uninst_add_test(ui_builder_tests DESKTOP
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/BuilderTests.cpp
          ${_builder_res}/BuilderTestResources.rc
          ${CMAKE_CURRENT_LIST_DIR}/LayoutArithmeticTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TabChildLayoutTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/SplitterTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/SkinSampleTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ShippedSkinLayoutTests.cpp
  LIBS skinui ui_test_support)

# Malformed skins, include and child-layout cycles, and thousands of seeded
# random corruptions of realistic skins: built, laid out and painted without
# a window; nothing may crash or hang.
uninst_add_test(ui_builder_robustness_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/BuilderRobustnessTests.cpp
  LIBS skinui TIMEOUT 600)

# Skins that end a build level early or repeat their fonts, under the checking
# allocator: no block left after the manager goes, a bounded number of fonts.
uninst_add_test(ui_builder_leak_tests HEAPCHECK
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/BuilderLeakTests.cpp
  LIBS skinui)
