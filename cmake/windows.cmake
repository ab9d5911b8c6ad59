# Windows programs: Unicode entry points, no MinGW DLLs at run time.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
add_link_options(-static)

# The tests need GoogleTest's sources; without them (say, on Windows itself)
# only the programs are built.
set(ZQ_HAVE_GTEST OFF)
if(EXISTS ${ZQ_GTEST_SOURCE}/CMakeLists.txt)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${ZQ_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(ZQ_HAVE_GTEST ON)
endif()

# Adds a Windows test program; CTest runs it under Wine through the
# cross-compiling emulator (scripts/winbench), one prefix and display each.
function(zq_add_windows_test name)
  if(NOT ZQ_HAVE_GTEST)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  target_compile_options(${name} PRIVATE ${ZQ_WARNINGS})
  # A console program, so that its output reaches CTest.
  target_link_options(${name} PRIVATE -mconsole)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS wine)
endfunction()

# Embeds the resource script (artwork, typeface, dialog, icon, version,
# manifest) into a program. NO_FONT and NO_DIALOG build the test variants
# that lack those resources.
function(zq_embed_resources target)
  cmake_parse_arguments(R "NO_FONT;NO_DIALOG" "" "" ${ARGN})
  set(rc ${PROJECT_SOURCE_DIR}/res/zelvaquint.rc)
  if(R_NO_FONT OR R_NO_DIALOG)
    # A copy of the script per variant, since the defines are per source file.
    set(variant ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    configure_file(${rc} ${variant} COPYONLY)
    set(rc ${variant})
    set(defs "")
    if(R_NO_FONT)
      list(APPEND defs ZQ_NO_FONT)
    endif()
    if(R_NO_DIALOG)
      list(APPEND defs ZQ_NO_DIALOG)
    endif()
    set_source_files_properties(${rc} PROPERTIES COMPILE_DEFINITIONS "${defs}")
  endif()
  target_sources(${target} PRIVATE ${rc})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/res)
  file(GLOB art ${PROJECT_SOURCE_DIR}/res/*.bmp ${PROJECT_SOURCE_DIR}/res/*.ico
       ${PROJECT_SOURCE_DIR}/res/*.ttf ${PROJECT_SOURCE_DIR}/res/*.manifest)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${art}")
endfunction()
