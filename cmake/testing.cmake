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
    zq_list_windows_test(${name} ${name})
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

# The Windows test list: every test a Windows build runs, written out by
# zq_windows_tests() as a CTest file beside copies of the programs it runs,
# so that the folder runs anywhere it is copied to (`ctest --test-dir DIR`)
# with what Windows has. A test is put on the list at the end of the folder
# that adds it, once its properties are all set. ARGN is its command: a
# target stands for its program's copy, anything else for itself.
function(zq_list_windows_test)
  # A deferred call reads its arguments' variables when it runs: pass values.
  list(TRANSFORM ARGV REPLACE ".+" "[=[\\0]=]" OUTPUT_VARIABLE args)
  list(JOIN args " " args)
  cmake_language(EVAL CODE "cmake_language(DEFER CALL zq_write_windows_test ${args})")
endfunction()

function(zq_write_windows_test name)
  set(line "add_test([=[${name}]=] \${launcher}")
  foreach(arg IN LISTS ARGN)
    if(TARGET ${arg})
      string(APPEND line " \"\${here}/$<TARGET_FILE_NAME:${arg}>\"")
      set_property(GLOBAL APPEND PROPERTY ZQ_WINDOWS_TEST_TARGETS ${arg})
    else()
      string(APPEND line " [=[${arg}]=]")
    endif()
  endforeach()
  # One desktop, one registry hive: one test at a time.
  string(APPEND line ")\nset_tests_properties([=[${name}]=] PROPERTIES RESOURCE_LOCK desktop")
  get_test_property(${name} LABELS labels)
  list(TRANSFORM labels REPLACE "^wine$" windows)
  string(APPEND line " LABELS [=[${labels}]=]")
  foreach(property TIMEOUT SKIP_RETURN_CODE)
    get_test_property(${name} ${property} value)
    if(value)
      string(APPEND line " ${property} ${value}")
    endif()
  endforeach()
  get_test_property(${name} WORKING_DIRECTORY dir)
  if(dir)
    string(APPEND line " WORKING_DIRECTORY \"\${here}/Testing/Temporary\"")
  endif()
  set_property(GLOBAL APPEND_STRING PROPERTY ZQ_WINDOWS_TESTS "${line})\n")
endfunction()

# The folder windows-tests/ of a Windows build: the list and its programs.
# ZQ_TEST_LAUNCHER, when set, goes before each program: Wine standing in for
# Windows.
function(zq_windows_tests)
  get_property(tests GLOBAL PROPERTY ZQ_WINDOWS_TESTS)
  get_property(targets GLOBAL PROPERTY ZQ_WINDOWS_TEST_TARGETS)
  list(REMOVE_DUPLICATES targets)
  set(dir ${CMAKE_BINARY_DIR}/windows-tests)
  file(GENERATE OUTPUT ${dir}/CTestTestfile.cmake CONTENT
       "# The Windows test list; run it with `ctest --test-dir` this folder, which\n# CTest reads it in (its own folder is not told).\nfile(GLOB here CTestTestfile.cmake)\nget_filename_component(here \"\${here}\" DIRECTORY)\nset(launcher \$ENV{ZQ_TEST_LAUNCHER})\n${tests}")
  list(TRANSFORM targets REPLACE ".+" "$<TARGET_FILE:\\0>" OUTPUT_VARIABLE files)
  add_custom_target(windows_tests ALL COMMAND ${CMAKE_COMMAND} -E copy_if_different ${files} ${dir} VERBATIM)
  add_dependencies(windows_tests ${targets})
endfunction()
