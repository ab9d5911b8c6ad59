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
# Windows it runs directly again (label windows). With CLEARTYPE, Wine runs
# it a second time (NAME_cleartype) with text smoothed as a Windows desktop
# smooths it by default.
function(zq_add_gtest name)
  if(NOT ZQ_HAVE_GTEST)
    return()
  endif()
  cmake_parse_arguments(G "CLEARTYPE" "" "" ${ARGN})
  zq_gtest_program(${name} ${G_UNPARSED_ARGUMENTS})
  add_test(NAME ${name} COMMAND ${name})
  if(WIN32)
    if(ZQ_WINE_TESTS)
      set_tests_properties(${name} PROPERTIES LABELS wine)
      if(G_CLEARTYPE)
        add_test(NAME ${name}_cleartype COMMAND ${name})
        set_tests_properties(${name}_cleartype PROPERTIES LABELS wine ENVIRONMENT ZQ_FONT_SMOOTHING=cleartype)
      endif()
    else()
      set_tests_properties(${name} PROPERTIES LABELS windows)
    endif()
  else()
    set_tests_properties(${name} PROPERTIES LABELS native)
  endif()
endfunction()
