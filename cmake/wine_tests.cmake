# GoogleTest from the sources Debian's googletest package installs, built with our compiler.
set(KV_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${KV_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The Wine prefix that scripts/wine-prefix makes once per build folder (64-bit or 32-bit Wine
# after the build's word size), and the environment every
# test program runs in: code page 936, no Mono/Gecko installers, no debugger on a crash, no
# Linux menu entries for the shortcuts a test makes (winemenubuilder would outlive the test),
# planted atl.dll files loaded before Wine's builtin one.
set(KV_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(KV_WINEARCH win64)
else()
  set(KV_WINEARCH win32)
endif()
set(KV_TEST_ENVIRONMENT
  "WINEPREFIX=${KV_WINEPREFIX}"
  "WINEARCH=${KV_WINEARCH}"
  "WINEDEBUG=-all"
  "WINEDLLOVERRIDES=mscoree,mshtml=\\;winedbg.exe=d\\;winemenubuilder.exe=d\\;atl=n,b"
  "LC_ALL=zh_CN.UTF-8")

# kv_add_test(NAME target [TIMEOUT seconds] [DESKTOP] [ENV VAR=value...] [ARGS arguments...]):
# one CTest test running a GoogleTest program. DESKTOP marks a program that shows windows,
# takes the focus or types keys: such programs share the one X screen, so they run one at a
# time while the others run beside them. ENV adds to the test environment; ARGS to the
# program's arguments.
function(kv_add_test name target)
  cmake_parse_arguments(ARG "DESKTOP" "TIMEOUT" "ENV;ARGS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  add_test(NAME ${name} COMMAND ${target} --gtest_color=no ${ARG_ARGS})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${KV_TEST_ENVIRONMENT}" TIMEOUT ${ARG_TIMEOUT})
  if(ARG_ENV)
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT ${ARG_ENV})
  endif()
  if(ARG_DESKTOP)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK desktop)
  endif()
endfunction()

# kv_plain_exports(target...): test DLLs that export stdcall functions straight from the
# source export them under their plain names, as Windows' own DLLs do (32-bit names carry @n).
function(kv_plain_exports)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    foreach(target ${ARGN})
      target_link_options(${target} PRIVATE -Wl,--kill-at)
    endforeach()
  endif()
endfunction()
