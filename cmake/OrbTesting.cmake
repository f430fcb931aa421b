# GoogleTest for every build: the system package natively, Debian's sources for MinGW.
if(ORB_COMPILE_ONLY)
  set(ORB_RUN_TESTS OFF)
else()
  set(ORB_RUN_TESTS ON)
endif()

if(MINGW)
  if(MINGW)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL SYSTEM)
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
    add_library(GTest::gmock ALIAS gmock)
  endif()
else()
  find_package(GTest REQUIRED)
endif()

include(GoogleTest)

# orb_gtest(<name> SOURCES ... LIBS ... [LABELS ...] [WINDOWS])
# Builds a GoogleTest program and registers it with CTest.  Under MinGW the
# test runs through the cross-compiling emulator (Wine) as one CTest test per
# program; natively each test case is discovered separately.
function(orb_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  if(ORB_FUZZ OR ORB_COMPILE_ONLY)
    # The fuzz build holds only the fuzz targets, the compile-only build only
    # the product: test programs are declared (so that target properties set
    # after this call still apply) but not built.
    add_executable(${name} EXCLUDE_FROM_ALL ${ARG_SOURCES})
  else()
    add_executable(${name} ${ARG_SOURCES})
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
  target_compile_options(${name} PRIVATE ${ORB_WARNINGS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
  if(NOT ORB_RUN_TESTS OR ORB_FUZZ)
    return()
  endif()
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES LABELS "wine;${ARG_LABELS}" TIMEOUT 300)
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT 120)
  endif()
endfunction()
