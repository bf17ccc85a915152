# DLLs that the program needs only for statistics reports, crash dumps, the web browser, shell
# calls, COM and common controls are loaded at the first call of one of their functions, not when
# the process starts: a player sees the first page sooner. The common controls matter most:
# attaching them opens the display, which the first process (it only relaunches a copy) never
# needs. Each gets a delay-import library of the system library's name in a folder searched first,
# so every target (tests included) links the same way.
set(UNINST_DELAY_LOADED_DLLS ws2_32 crypt32 bcrypt dbghelp iphlpapi netapi32 shell32 version
    oleaut32 gdiplus comctl32 ole32 shlwapi)
set(_delay_dir ${PROJECT_BINARY_DIR}/delay-imports)
set(_delay_script ${PROJECT_SOURCE_DIR}/scripts/make-delay-lib.sh)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_delay_script})
foreach(_dll IN LISTS UNINST_DELAY_LOADED_DLLS)
  set(_out ${_delay_dir}/lib${_dll}.a)
  if(NOT EXISTS ${_out} OR ${_delay_script} IS_NEWER_THAN ${_out})
    execute_process(
      COMMAND bash ${_delay_script} ${_dll}.dll ${CMAKE_FIND_ROOT_PATH}/lib/lib${_dll}.a ${_out}
      RESULT_VARIABLE _rc)
    if(NOT _rc EQUAL 0)
      message(FATAL_ERROR "making the delay-import library of ${_dll} failed")
    endif()
  endif()
endforeach()
link_directories(BEFORE ${_delay_dir})
# The helper that the stubs call; last, after every library that may use it.
string(APPEND CMAKE_CXX_STANDARD_LIBRARIES " -ldelayimp")
string(APPEND CMAKE_C_STANDARD_LIBRARIES " -ldelayimp")

set(UNINST_DELAY_IMPORT_LIBS)
foreach(_dll IN LISTS UNINST_DELAY_LOADED_DLLS)
  list(APPEND UNINST_DELAY_IMPORT_LIBS ${_delay_dir}/lib${_dll}.a)
endforeach()

# Every program and DLL below DIR links again when a delay-import library is made anew (a changed
# list of DLLs would otherwise leave programs importing the old way in an existing build folder).
function(uninst_relink_on_delay_imports dir)
  get_property(_targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(_t IN LISTS _targets)
    get_target_property(_type ${_t} TYPE)
    if(_type MATCHES "^(EXECUTABLE|SHARED_LIBRARY|MODULE_LIBRARY)$")
      set_property(TARGET ${_t} APPEND PROPERTY LINK_DEPENDS ${UNINST_DELAY_IMPORT_LIBS})
    endif()
  endforeach()
  get_property(_subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(_sub IN LISTS _subdirs)
    uninst_relink_on_delay_imports(${_sub})
  endforeach()
endfunction()
