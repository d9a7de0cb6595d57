# zvwizard from the outside, run as cmake -DZVWIZARD=... -DDRIVER=... -DGALLERY=... -DSOURCE=...
# -DWORK_DIR=... -P:
# the command line (--help, bad arguments), a gallery clip copied into -o
# with the markup on stdout, a new clip moved there, an existing clip never
# replaced without a terminal to ask on, and Cancel writing nothing.
#
# The wizard is operated by the test hand (tests/c_abi/wizard_test_driver.cpp)
# preloaded into zvwizard; ZV_WIZARD_DRIVER_SCRIPT says what it does.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK_DIR})
set(out ${WORK_DIR}/out)
set(tmp ${WORK_DIR}/tmp)
file(MAKE_DIRECTORY ${out} ${tmp})

# Runs zvwizard with `script` and the arguments after it; sets status,
# stdout and stderr in the caller.
function(zvwizard script)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env
      QT_QPA_PLATFORM=offscreen
      TMPDIR=${tmp}
      XDG_CONFIG_HOME=${WORK_DIR}/config
      XDG_RUNTIME_DIR=${WORK_DIR}
      LD_PRELOAD=${DRIVER}
      ASAN_OPTIONS=verify_asan_link_order=0
      ZV_WIZARD_DRIVER_SCRIPT=${script}
      ${ZVWIZARD} ${ARGN}
    INPUT_FILE /dev/null
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors
    TIMEOUT 120)
  set(status "${status}" PARENT_SCOPE)
  set(output "${output}" PARENT_SCOPE)
  set(errors "${errors}" PARENT_SCOPE)
endfunction()

function(fail what)
  message(FATAL_ERROR "${what}\nstatus: ${status}\nstdout:\n${output}\nstderr:\n${errors}")
endfunction()

# The command line.
zvwizard("" --help)
if(NOT status EQUAL 0 OR NOT output MATCHES "Usage: zvwizard")
  fail("--help")
endif()
zvwizard("" --colour)
if(NOT status EQUAL 2 OR NOT errors MATCHES "unknown argument")
  fail("an unknown argument")
endif()
zvwizard("" -o)
if(NOT status EQUAL 2)
  fail("-o without a folder")
endif()
zvwizard("cancel" -o ${WORK_DIR}/no-such-folder)
if(NOT status EQUAL 2 OR NOT errors MATCHES "does not exist")
  fail("a missing output folder")
endif()

# No display at all: a plain message, not the windowing layer's abort.
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
    ${ZVWIZARD} -o ${out}
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors TIMEOUT 60)
if(NOT status EQUAL 1 OR NOT errors MATCHES "no display")
  fail("without a display")
endif()

# Cancel: status 1, nothing written.
zvwizard("cancel" -o ${out})
file(GLOB written ${out}/*)
if(NOT status EQUAL 1 OR NOT output STREQUAL "" OR written)
  fail("Cancel (wrote: ${written})")
endif()

# A gallery clip is copied into the folder; the gallery keeps it.
set(gallery_clip ${GALLERY}/speech-sample-music.zvsa)
zvwizard("gallery-finish" -o ${out})
if(NOT status EQUAL 0 OR NOT EXISTS ${out}/speech-sample-music.zvsa OR NOT EXISTS ${gallery_clip})
  fail("the gallery road")
endif()
file(SHA256 ${out}/speech-sample-music.zvsa copied)
file(SHA256 ${gallery_clip} original)
if(NOT copied STREQUAL original)
  fail("the copy differs from the gallery clip")
endif()
if(NOT output MATCHES "<PARAM NAME=\"Clip\" VALUE=\"speech-sample-music.zvsa\">")
  fail("the markup does not name the clip")
endif()

# The same again: the clip exists, and without a terminal it is not replaced.
file(WRITE ${out}/speech-sample-music.zvsa "mine")
zvwizard("gallery-finish" -o ${out})
file(READ ${out}/speech-sample-music.zvsa kept)
if(NOT status EQUAL 1 OR NOT errors MATCHES "already exists" OR NOT output STREQUAL ""
   OR NOT kept STREQUAL "mine")
  fail("an existing clip must stay, with status 1 and no markup")
endif()

# A sound file: the new clip is moved out of the temporary folder.
zvwizard("file-finish:voice:${SOURCE}" --output-dir ${out})
if(NOT status EQUAL 0 OR NOT EXISTS ${out}/voice.zvsa OR EXISTS ${tmp}/voice.zvsa)
  fail("the file road: the new clip moved into the folder")
endif()
if(NOT output MATCHES "VALUE=\"voice.zvsa\"")
  fail("the markup does not name the new clip")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
