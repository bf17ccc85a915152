# uninst_add_test(NAME SOURCES ... [LIBS ...] [CP936] [DESKTOP] [HEAPCHECK] [TIMEOUT s]
#                 [PROPERTIES ...])
#
# One test program, one ctest entry, run under Wine through the toolchain's
# emulator. Test programs are console programs, so that gtest's output reaches
# ctest.
#
# An entry passes only when GoogleTest printed its closing summary and no
# failure: under Wine a program that overflows its stack or dies half-way can
# still exit with code 0, so the exit code alone proves nothing.
#
# CP936 adds a second entry, NAME_cp936, that runs the same program under a
# Chinese Unix locale, which gives the ANSI code page 936 (Simplified
# Chinese), and tells the program so (UNINST_EXPECT_ACP), so that a locale
# that did not take fails instead of testing the wrong code page; the first
# entry runs under C.UTF-8, which gives 1252.
# DESKTOP marks a program that shows windows or sends real input: such
# programs run one at a time, so that no other program's window takes their
# clicks or focus.
# Every program gets a %TEMP% of its own (tests/support/PrivateTemp.cpp).
# HEAPCHECK links a checking allocator (a guard before and after every C++
# heap block, checked when the block is freed), runs the program with Wine's
# heap checks (a checked tail on every C runtime block) and validates the heaps
# after every test: a write past a block fails the entry.
set(UNINST_GTEST_PASSED "\\[  PASSED  \\] [0-9]+ tests?\\.")
set(UNINST_GTEST_FAILED "\\[  FAILED  \\]")

function(uninst_gtest_entry test program)
  cmake_parse_arguments(E "HEAPCHECK" "TIMEOUT" "ARGS;ENV;PROPERTIES" ${ARGN})
  add_test(NAME ${test} COMMAND ${program} ${E_ARGS})
  set(fail "${UNINST_GTEST_FAILED}")
  if(E_HEAPCHECK)
    list(APPEND E_ENV "WINEDEBUG=-all,err+heap,warn+heap")
    list(APPEND fail "err:heap")
  endif()
  set_tests_properties(${test} PROPERTIES TIMEOUT ${E_TIMEOUT}
                       WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                       PASS_REGULAR_EXPRESSION "${UNINST_GTEST_PASSED}"
                       FAIL_REGULAR_EXPRESSION "${fail}"
                       ENVIRONMENT "${E_ENV}" ${E_PROPERTIES})
endfunction()

function(uninst_add_test name)
  cmake_parse_arguments(T "CP936;DESKTOP;HEAPCHECK" "TIMEOUT" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} test_support Deps::gtest_main Deps::gtest)
  target_compile_definitions(${name} PRIVATE UNINST_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/PrivateTemp.cpp)
  set(check)
  if(T_HEAPCHECK)
    set(check HEAPCHECK)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/CheckingAllocator.cpp)
  endif()
  set(entries ${name})
  if(T_CP936)
    uninst_gtest_entry(${name} ${name} ${check} TIMEOUT ${T_TIMEOUT}
                       ENV "LC_ALL=C.UTF-8" PROPERTIES ${T_PROPERTIES})
    uninst_gtest_entry(${name}_cp936 ${name} ${check} TIMEOUT ${T_TIMEOUT}
                       ENV "LC_ALL=zh_CN.UTF-8" "UNINST_EXPECT_ACP=936" PROPERTIES ${T_PROPERTIES})
    list(APPEND entries ${name}_cp936)
  else()
    uninst_gtest_entry(${name} ${name} ${check} TIMEOUT ${T_TIMEOUT} PROPERTIES ${T_PROPERTIES})
  endif()
  if(T_DESKTOP)
    set_property(TEST ${entries} APPEND PROPERTY RESOURCE_LOCK desktop)
  endif()
endfunction()
