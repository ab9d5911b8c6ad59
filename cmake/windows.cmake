# Windows programs: the resource script and the gadget executable.

# Runs a command in a Wine prefix and an X display of its own. A cross
# build runs every Windows test program through it, and only there are the
# tests registered that drive Wine from Linux (Xvfb screens, xdotool, the
# end-to-end scenarios, the soak traces): ZQ_WINE_TESTS. On Windows itself,
# or with the emulator switched off, the GoogleTest programs run directly.
set(ZQ_WINE_SANDBOX ${PROJECT_SOURCE_DIR}/scripts/wine-sandbox)
option(ZQ_WINE_EMULATOR "Run a cross build's test programs under Wine" ON)
set(ZQ_WINE_TESTS OFF)
if(CMAKE_CROSSCOMPILING AND ZQ_WINE_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZQ_WINE_SANDBOX})
  set(ZQ_WINE_TESTS ON)
endif()

# Every date in the release is the commit's: the caller's SOURCE_DATE_EPOCH,
# else the time of the checkout's last commit. A new commit configures again.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ZQ_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  find_package(Git QUIET)
  if(GIT_FOUND AND EXISTS ${PROJECT_SOURCE_DIR}/.git)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE ZQ_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --absolute-git-dir WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE git_dir OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(EXISTS ${git_dir}/logs/HEAD)
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${git_dir}/logs/HEAD)
    endif()
  endif()
  if(NOT ZQ_SOURCE_DATE_EPOCH)
    message(STATUS "Neither SOURCE_DATE_EPOCH nor a git commit: the release is dated 1980-01-01")
    set(ZQ_SOURCE_DATE_EPOCH 315532800)
  endif()
endif()
if(NOT ZQ_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH is not a number of seconds: ${ZQ_SOURCE_DATE_EPOCH}")
endif()

# The resource script's folder: ids, artwork, typeface, dialog, manifests.
add_library(zq_resources INTERFACE)
target_include_directories(zq_resources INTERFACE ${PROJECT_SOURCE_DIR}/res)

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
  target_link_libraries(${target} PRIVATE zq_resources)
  file(GLOB art ${PROJECT_SOURCE_DIR}/res/*.bmp ${PROJECT_SOURCE_DIR}/res/*.ico
       ${PROJECT_SOURCE_DIR}/res/*.ttf ${PROJECT_SOURCE_DIR}/res/*.manifest)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${art}")
endfunction()

# The gadget program: the shipped Zelvaquint, and the test variants built
# without the typeface (NO_FONT) or the agreement dialog (NO_DIALOG).
function(zq_add_gadget name)
  add_executable(${name} WIN32 ${PROJECT_SOURCE_DIR}/app/main.cpp)
  # The release carries no symbols.
  target_link_options(${name} PRIVATE -municode $<$<CONFIG:Release,MinSizeRel>:-s>)
  # GNU ld stamps the PE header with SOURCE_DATE_EPOCH, else with the clock.
  set_target_properties(${name} PROPERTIES
    CXX_LINKER_LAUNCHER "${CMAKE_COMMAND};-E;env;SOURCE_DATE_EPOCH=${ZQ_SOURCE_DATE_EPOCH}")
  target_link_libraries(${name} PRIVATE zq_startup)
  zq_embed_resources(${name} ${ARGN})
endfunction()
