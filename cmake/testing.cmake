# Builds a GoogleTest program. On Windows its tests run in a scratch user
# hive (tests/support's environment).
function(zq_gtest_program name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  if(WIN32)
    target_link_libraries(${name} PRIVATE zq_test_environment)
    # A console program, so that its output reaches CTest.
    target_link_options(${name} PRIVATE -mconsole)
    get_target_property(gtest_type GTest::gtest TYPE)
    if(gtest_type STREQUAL SHARED_LIBRARY)
      set_target_properties(${name} PROPERTIES ZQ_SHARED_RUNTIME ON)
    endif()
  endif()
endfunction()

# Adds a GoogleTest program. In the native build it runs directly (label
# native); in the cross build CTest runs it under Wine through the
# cross-compiling emulator, one prefix and display each (label wine); on
# Windows it runs directly again (label windows).
function(zq_add_gtest name)
  if(NOT ZQ_HAVE_GTEST)
    return()
  endif()
  zq_gtest_program(${name} ${ARGN})
  add_test(NAME ${name} COMMAND ${name})
  if(WIN32)
    if(ZQ_WINE_TESTS)
      set_tests_properties(${name} PROPERTIES LABELS wine)
    else()
      set_tests_properties(${name} PROPERTIES LABELS windows)
    endif()
  else()
    set_tests_properties(${name} PROPERTIES LABELS native)
  endif()
endfunction()
