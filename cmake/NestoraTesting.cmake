# Test registration shared by the native and the Windows builds.
#
# Every test program is a GoogleTest program run once by ctest; it writes its results to
# test-results/<name>.xml in the build folder, from which scripts/test counts the single
# test cases. Windows programs run under Wine through CMAKE_CROSSCOMPILING_EMULATOR.

set(NESTORA_TEST_RESULTS_DIR test-results)

macro(nestora_setup_gtest)
  if(WIN32 OR NOT CMAKE_HOST_UNIX)
    set(NESTORA_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(${NESTORA_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    add_library(nestora::gtest ALIAS gtest)
    add_library(nestora::gtest_main ALIAS gtest_main)
    add_library(nestora::gmock ALIAS gmock)
  else()
    find_package(GTest REQUIRED)
    add_library(nestora::gtest ALIAS GTest::gtest)
    add_library(nestora::gtest_main ALIAS GTest::gtest_main)
    add_library(nestora::gmock ALIAS GTest::gmock)
  endif()
endmacro()

# nestora_add_test(<name> SOURCES ... [LIBS ...] [MAIN <lib>] [SERIAL] [TIMEOUT <s>]
#                  [DPIS <dpi>...])
#   SERIAL: the test needs the shared desktop alone (global hotkeys, foreground window,
#           the tray, synthesised input); ctest never runs two of them at once.
#   DPIS:   a Windows program run once at each display scale instead, as <name>_<dpi>, in a
#           Wine prefix of its own (scripts/wine-scaled-exec); the runs take turns on it.
#   MAIN:   a library providing main(); nestora::gtest_main by default.
function(nestora_add_test name)
  cmake_parse_arguments(T "SERIAL" "TIMEOUT;MAIN" "SOURCES;LIBS;DPIS" ${ARGN})
  if(NOT T_MAIN)
    set(T_MAIN nestora::gtest_main)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${T_MAIN} nestora::gmock nestora::gtest)
  if(NOT NESTORA_RUN_TESTS)
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  if(T_DPIS)
    foreach(dpi IN LISTS T_DPIS)
      add_test(NAME ${name}_${dpi}
               COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-scaled-exec ${dpi}
                       ${CMAKE_BINARY_DIR}/wine-scaled $<TARGET_FILE:${name}>
                       --gtest_output=xml:${NESTORA_TEST_RESULTS_DIR}/${name}_${dpi}.xml
               WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
      set_tests_properties(${name}_${dpi} PROPERTIES TIMEOUT ${T_TIMEOUT}
                           RESOURCE_LOCK wine_scaled_prefix)
    endforeach()
    return()
  endif()
  add_test(NAME ${name}
           COMMAND ${name} --gtest_output=xml:${NESTORA_TEST_RESULTS_DIR}/${name}.xml
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_SERIAL)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK desktop)
  endif()
endfunction()
