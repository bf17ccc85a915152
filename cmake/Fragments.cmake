# Each area of a library or test folder lists its own sources in a small
# *.cmake file beside them; this includes them all.
macro(uninst_include_fragments)
  file(GLOB _uninst_fragments CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cmake)
  foreach(_uninst_fragment ${_uninst_fragments})
    include(${_uninst_fragment})
  endforeach()
endmacro()
