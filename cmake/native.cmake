# The platform-free code, built for the host with the sanitizers, for unit
# tests. A coverage build leaves them out: their checks are branches of their
# own, not the program's.
option(ZQ_SANITIZE "Build the native code with the address and undefined-behaviour sanitizers" ON)
if(ZQ_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
