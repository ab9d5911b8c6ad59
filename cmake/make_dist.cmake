# cmake -DEXE=... -DSOURCE=... -DOUT=... -P make_dist.cmake
# Stages the release files, lists their SHA-256 sums and zips them.
get_filename_component(name ${OUT} NAME_WE)
set(stage ${CMAKE_CURRENT_BINARY_DIR}/${name})
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage})
file(COPY ${EXE} DESTINATION ${stage})
file(COPY ${SOURCE}/res/OFL.txt DESTINATION ${stage})
file(COPY ${SOURCE}/dist/README.txt DESTINATION ${stage})

set(sums "")
foreach(file Zelvaquint.exe OFL.txt README.txt)
  file(SHA256 ${stage}/${file} sum)
  string(APPEND sums "${sum}  ${file}\n")
endforeach()
file(WRITE ${stage}/SHA256SUMS.txt "${sums}")

file(REMOVE ${OUT})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${OUT} --format=zip
                        Zelvaquint.exe OFL.txt README.txt SHA256SUMS.txt
                WORKING_DIRECTORY ${stage} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not make ${OUT}")
endif()
file(SHA256 ${OUT} zipsum)
get_filename_component(zipname ${OUT} NAME)
file(WRITE ${OUT}.sha256 "${zipsum}  ${zipname}\n")
message(STATUS "release: ${OUT}")
