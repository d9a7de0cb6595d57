# zvwizard from the outside, run as cmake -DZVWIZARD=... -DDRIVER=... -DGALLERY=... -DSOURCE=...
# -DWORK_DIR=... -P:
# the command line (--help, bad arguments), a gallery clip copied into -o
# with the markup on stdout, a new clip moved there, an existing clip never
# replaced without a terminal to ask on, and Cancel writing nothing; then the
# road from the desktop's menu: the save dialog and the markup window.
#
# The wizard is operated by the test hand (tests/c_abi/wizard_test_driver.cpp)
# preloaded into zvwizard; ZV_WIZARD_DRIVER_SCRIPT says what it does.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK_DIR})
set(out ${WORK_DIR}/out)
set(tmp ${WORK_DIR}/tmp)
file(MAKE_DIRECTORY ${out} ${tmp} ${WORK_DIR}/home)

# Runs zvwizard with `script` for the test hand, `save_as` for its save
# dialog ("cancel" cancels it) and the arguments after them, standard input
# /dev/null and standard output a pipe, as the desktop's menu starts it; sets
# status, stdout and stderr in the caller.
function(run_zvwizard script save_as)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env
      QT_QPA_PLATFORM=offscreen
      TMPDIR=${tmp}
      HOME=${WORK_DIR}/home
      XDG_CONFIG_HOME=${WORK_DIR}/config
      XDG_DATA_HOME=${WORK_DIR}/data
      XDG_RUNTIME_DIR=${WORK_DIR}
      LD_PRELOAD=${DRIVER}
      ASAN_OPTIONS=verify_asan_link_order=0
      ZV_WIZARD_DRIVER_SCRIPT=${script}
      ZV_WIZARD_DRIVER_SAVE_AS=${save_as}
      ${ZVWIZARD} ${ARGN}
    INPUT_FILE /dev/null
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors
    TIMEOUT 120)
  set(status "${status}" PARENT_SCOPE)
  set(output "${output}" PARENT_SCOPE)
  set(errors "${errors}" PARENT_SCOPE)
endfunction()

# The terminal's road, forced: without a terminal to ask on.
function(zvwizard script)
  run_zvwizard("${script}" "" --terminal ${ARGN})
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

# From the menu: the save dialog and the markup window instead of -o and
# standard output. A gallery clip saved under a name of the user's: copied,
# markup made for that name, the folder remembered.
set(web ${WORK_DIR}/web)
file(MAKE_DIRECTORY ${web})
run_zvwizard("gallery-finish" "${web}/chosen.zvsa")
if(NOT status EQUAL 0 OR NOT EXISTS ${web}/chosen.zvsa OR NOT EXISTS ${gallery_clip}
   OR NOT output STREQUAL "")
  fail("the menu road: a gallery clip saved where chosen")
endif()
file(SHA256 ${web}/chosen.zvsa copied)
if(NOT copied STREQUAL original)
  fail("the menu road: the saved copy differs from the gallery clip")
endif()
if(NOT errors MATCHES "file dialog: Save the Clip"
   OR NOT errors MATCHES "markup window: The clip is saved as \"${web}/chosen.zvsa\"")
  fail("the menu road: the save dialog and the markup window")
endif()
file(READ "${WORK_DIR}/config/Z&V/Z&V Tavelworks.conf" stored)
if(NOT stored MATCHES "Last%20Save%20Folder=${web}|Last Save Folder=${web}")
  fail("the menu road: the folder is not remembered (${stored})")
endif()

# A new clip whose save is cancelled (--window, however it was started):
# kept in the user's own gallery, nothing left in the temporary folder.
file(REMOVE_RECURSE ${tmp})
file(MAKE_DIRECTORY ${tmp})
run_zvwizard("file-finish:unsaved:${SOURCE}" "cancel" --window)
set(kept ${WORK_DIR}/data/zvtavelworks/Gallery/unsaved.zvsa)
file(GLOB left ${tmp}/ZVSA*)
if(NOT status EQUAL 1 OR NOT EXISTS ${kept} OR left OR NOT errors MATCHES "kept in your gallery")
  fail("the menu road: a cancelled save keeps the new clip (left in TMPDIR: ${left})")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
