# Imported targets for the libraries the project links:
#   Deps::zlib, Deps::stb, Deps::curl (with OpenSSL), Deps::jsoncpp,
#   Deps::gtest, Deps::gtest_main.
# zlib and stb come from Debian packages; the rest from the cache that
# scripts/setup.sh fills.

set(_mingw /usr/i686-w64-mingw32)

function(_uninst_static_lib name lib)
  if(NOT EXISTS "${lib}")
    message(FATAL_ERROR "${lib} is missing: run scripts/setup.sh first")
  endif()
  add_library(${name} STATIC IMPORTED GLOBAL)
  set_target_properties(${name} PROPERTIES IMPORTED_LOCATION "${lib}")
endfunction()

_uninst_static_lib(Deps::zlib ${_mingw}/lib/libz.a)
target_include_directories(Deps::zlib INTERFACE ${_mingw}/include)

add_library(Deps::stb INTERFACE IMPORTED GLOBAL)
target_include_directories(Deps::stb SYSTEM INTERFACE /usr/include/stb)

set(_ssl ${UNINST_DEPS_CACHE}/openssl)
_uninst_static_lib(Deps::crypto ${_ssl}/lib/libcrypto.a)
target_link_libraries(Deps::crypto INTERFACE ws2_32 crypt32 bcrypt advapi32 user32)
_uninst_static_lib(Deps::ssl ${_ssl}/lib/libssl.a)
target_link_libraries(Deps::ssl INTERFACE Deps::crypto)

set(_curl ${UNINST_DEPS_CACHE}/curl)
_uninst_static_lib(Deps::curl ${_curl}/lib/libcurl.a)
target_include_directories(Deps::curl SYSTEM INTERFACE ${_curl}/include)
target_compile_definitions(Deps::curl INTERFACE CURL_STATICLIB)
target_link_libraries(Deps::curl INTERFACE Deps::ssl Deps::zlib ws2_32 crypt32 bcrypt
                      wldap32 advapi32 iphlpapi secur32)

set(_json ${UNINST_DEPS_CACHE}/jsoncpp)
_uninst_static_lib(Deps::jsoncpp ${_json}/lib/libjsoncpp.a)
target_include_directories(Deps::jsoncpp SYSTEM INTERFACE ${_json}/include)

set(_gtest ${UNINST_DEPS_CACHE}/googletest)
if(UNINST_BUILD_TESTS)
  _uninst_static_lib(Deps::gtest ${_gtest}/lib/libgtest.a)
  target_include_directories(Deps::gtest SYSTEM INTERFACE ${_gtest}/include)
  _uninst_static_lib(Deps::gtest_main ${_gtest}/lib/libgtest_main.a)
  target_link_libraries(Deps::gtest_main INTERFACE Deps::gtest)
  _uninst_static_lib(Deps::gmock ${_gtest}/lib/libgmock.a)
  target_link_libraries(Deps::gmock INTERFACE Deps::gtest)
endif()
