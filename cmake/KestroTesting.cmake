# Test helpers: GoogleTest from the system natively, built from its Debian
# sources for the cross builds; kestro_add_test registers one test program.

if(KESTRO_BUILD_TESTS)
  if(CMAKE_CROSSCOMPILING)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # GoogleTest's own sources are not ours to hold to our warning level.
    foreach(t gtest gtest_main gmock gmock_main)
      if(TARGET ${t})
        target_compile_options(${t} PRIVATE -w)
      endif()
    endforeach()
  else()
    find_package(GTest REQUIRED)
  endif()
  include(GoogleTest)
  if(KESTRO_RUN_TESTS)
    enable_testing()
  endif()
endif()

# kestro_add_test(name SOURCES ... LIBS ... [PROPERTIES name value ...])
# Each test case runs as its own process natively (parallel-safe: every test
# makes its own temporary folders); under wine one process per program keeps
# the suite fast.
function(kestro_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} kestro_test_support GTest::gtest_main GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE KESTRO_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  if(NOT KESTRO_RUN_TESTS)
    return()
  endif()
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 900 ${ARG_PROPERTIES})
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 300 ${ARG_PROPERTIES})
  endif()
endfunction()
