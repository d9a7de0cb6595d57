# Where a component library finds its files: the probe library
# (bot_folder_probe.cpp, the component's own folder rules) is loaded from
# PROBE by CHECKER and must name the insertion program and the preview images
# of the tree at ROOT (PKGLIBDIR and PKGDATADIR relative to it), and those
# files must be there.
#   cmake -DCHECKER=... -DPROBE=... -DROOT=... -DPKGLIBDIR=... -DPKGDATADIR=...
#         -P check_component_files.cmake
# or include() it and call check_component_files().
function(check_component_files checker probe root)
  execute_process(COMMAND ${checker} ${probe} RESULT_VARIABLE status
                  OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the probe at ${probe} did not load (${status}): ${err}")
  endif()
  if(NOT out MATCHES "program=([^\n]*)\nimages=([^\n]*)\n")
    message(FATAL_ERROR "the probe answered:\n${out}")
  endif()
  set(program "${CMAKE_MATCH_1}")
  set(images "${CMAKE_MATCH_2}")
  file(REAL_PATH ${root} root)
  if(NOT program STREQUAL "${root}/${PKGLIBDIR}/ZvInsertBot")
    message(FATAL_ERROR "loaded from ${probe}, the component looks for its program at\n"
                        "  ${program}\ninstead of\n  ${root}/${PKGLIBDIR}/ZvInsertBot")
  endif()
  if(NOT images STREQUAL "${root}/${PKGDATADIR}/")
    message(FATAL_ERROR "loaded from ${probe}, the component looks for its images in\n"
                        "  ${images}\ninstead of\n  ${root}/${PKGDATADIR}/")
  endif()
  if(IS_DIRECTORY ${program} OR NOT EXISTS ${program})
    message(FATAL_ERROR "the insertion program ${program} is missing")
  endif()
  foreach(image FPOneButton.gif FPTwoButton.gif FPThreeButton.gif)
    if(NOT EXISTS ${images}${image})
      message(FATAL_ERROR "the preview image ${images}${image} is missing")
    endif()
  endforeach()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  check_component_files(${CHECKER} ${PROBE} ${ROOT})
endif()
