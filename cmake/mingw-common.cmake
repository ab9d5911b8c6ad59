set(CMAKE_C_COMPILER ${ZQ_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZQ_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZQ_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZQ_TRIPLE})
# Programs from the host; headers and libraries from the target root.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Every Windows program runs under Wine, each in a prefix and display of its own.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/winbench)
