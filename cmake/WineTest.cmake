# uninst_add_test(NAME SOURCES ... [LIBS ...] [CP936] [DESKTOP] [TIMEOUT s] [PROPERTIES ...])
#
# One test program, one ctest entry, run under Wine through the toolchain's
# emulator. CP936 adds a second entry that runs the same program with the
# ANSI code page 936 (Simplified Chinese). DESKTOP marks a program that
# shows windows or sends real input: such programs run one at a time, so that
# no other program's window takes their clicks or focus. Test programs are
# console programs, so that gtest's output reaches ctest.
function(uninst_add_test name)
  cmake_parse_arguments(T "CP936;DESKTOP" "TIMEOUT" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} test_support Deps::gtest_main)
  target_compile_definitions(${name} PRIVATE UNINST_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
                       WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} ${T_PROPERTIES})
  if(T_CP936)
    add_test(NAME ${name}_cp936 COMMAND ${name})
    set_tests_properties(${name}_cp936 PROPERTIES TIMEOUT ${T_TIMEOUT}
                         WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                         ENVIRONMENT "LC_ALL=zh_CN.UTF-8;LANG=zh_CN.UTF-8;UNINST_EXPECT_ACP=936"
                         ${T_PROPERTIES})
  endif()
  if(T_DESKTOP)
    set_property(TEST ${name} APPEND PROPERTY RESOURCE_LOCK desktop)
    if(T_CP936)
      set_property(TEST ${name}_cp936 APPEND PROPERTY RESOURCE_LOCK desktop)
    endif()
  endif()
endfunction()
