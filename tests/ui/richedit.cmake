# The rich edit in a shown window: texts, real typing, focus and Tab,
# painting, scrolling and skin attributes. Needs an X display (DISPLAY).
uninst_add_test(ui_richedit_tests DESKTOP
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RichEditTextTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/RichEditInputTests.cpp
          ${CMAKE_CURRENT_LIST_DIR}/RichEditViewTests.cpp
  LIBS skinui ui_test_support)

# The rich edit over a stand-in engine that hides the vertical bar when the
# view narrows. The stand-in is named like the platform's engine, so it lies
# in a folder of its own, away from every test program.
add_library(text_engine_standin SHARED ${CMAKE_CURRENT_LIST_DIR}/textengine/StandInTextEngine.cpp)
set_target_properties(text_engine_standin PROPERTIES PREFIX "" OUTPUT_NAME msftedit
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/textengine)
target_link_options(text_engine_standin PRIVATE -Wl,--kill-at)
target_link_libraries(text_engine_standin PRIVATE ole32 uuid)
uninst_add_test(ui_richedit_engine_tests DESKTOP
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RichEditEngineTests.cpp
  LIBS skinui ui_test_support)
add_dependencies(ui_richedit_engine_tests text_engine_standin)
target_compile_definitions(ui_richedit_engine_tests PRIVATE
  UNINST_TEXT_ENGINE_STANDIN="$<TARGET_FILE:text_engine_standin>")
