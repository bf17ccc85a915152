# Inputs a hostile user controls, with seeded corruption runs checked by the heap's own tail and
# free checks. The configuration run (slow: real files under Wine) has an entry of its own.
uninst_add_test(hostile_input_tests CP936 TIMEOUT 600
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/HostileInputTests.cpp LIBS uninstaller_core)
# The configuration run in four parallel parts of 25,000 cases.
foreach(part 0 1 2 3)
  add_test(NAME hostile_config_fuzz_${part} COMMAND hostile_input_tests)
  set_tests_properties(hostile_config_fuzz_${part} PROPERTIES TIMEOUT 900
    ENVIRONMENT "GTEST_FILTER=HostileConfig.Seeded*;UNINST_FUZZ_SLICE=${part}/4;WINEDEBUG=warn+heap"
    FAIL_REGULAR_EXPRESSION "err:heap")
endforeach()
set_property(TEST hostile_input_tests hostile_input_tests_cp936 APPEND PROPERTY ENVIRONMENT
  "GTEST_FILTER=-HostileConfig.Seeded*")
set_property(TEST hostile_input_tests hostile_input_tests_cp936 PROPERTY
  FAIL_REGULAR_EXPRESSION "err:heap")
set_property(TEST hostile_input_tests hostile_input_tests_cp936 APPEND
  PROPERTY ENVIRONMENT WINEDEBUG=warn+heap)
