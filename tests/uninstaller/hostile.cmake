# Inputs a hostile user controls, with seeded corruption runs checked by the heap's own tail and
# free checks. The configuration run (slow: real files under Wine) has an entry of its own.
uninst_add_test(hostile_input_tests CP936 TIMEOUT 600
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/HostileInputTests.cpp LIBS uninstaller_core)
add_test(NAME hostile_config_fuzz COMMAND hostile_input_tests)
set_tests_properties(hostile_config_fuzz PROPERTIES TIMEOUT 1500
  ENVIRONMENT "GTEST_FILTER=HostileConfig.Seeded*" FAIL_REGULAR_EXPRESSION "err:heap")
set_property(TEST hostile_input_tests hostile_input_tests_cp936 APPEND PROPERTY ENVIRONMENT
  "GTEST_FILTER=-HostileConfig.Seeded*")
set_property(TEST hostile_input_tests hostile_input_tests_cp936 hostile_config_fuzz PROPERTY
  FAIL_REGULAR_EXPRESSION "err:heap")
set_property(TEST hostile_input_tests hostile_input_tests_cp936 hostile_config_fuzz APPEND
  PROPERTY ENVIRONMENT WINEDEBUG=warn+heap)
