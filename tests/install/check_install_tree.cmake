# Installs the build tree into a new prefix and checks that it is usable on
# its own: zvsa runs from bin/ on the installed sample and finds the codec
# libraries through its run path; no installed file refers to the build
# tree; a consumer project finds the package and compiles the public headers
# as C99 and C++.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status
                  OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}\n${out}\n${err}")
  endif()
  set(last_output "${out}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

foreach(file bin/zvsa bin/webhost bin/zvwizard lib/libQV80W.so lib/libQV160MXW.so
        lib/libZvEditBot.so lib/libZvEncoder.so lib/ZvInsertBot
        lib/FPOneButton.gif lib/FPTwoButton.gif lib/FPThreeButton.gif lib/ZvStreamPlayer.js
        lib/Gallery/speech-sample-speech.zvsa lib/Gallery/speech-sample-music.zvsa
        include/zv/codec_api.h include/zv/system_string.h include/zv/zv_encoder.h
        share/zvtavelworks/speech-sample.wav
        lib/cmake/ZvTavelworks/ZvTavelworksConfig.cmake)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "the installed tree lacks ${file}")
  endif()
endforeach()

# Run paths must be relative to the installed file, never the build tree.
foreach(file bin/zvsa bin/webhost bin/zvwizard lib/ZvInsertBot)
  run(readelf -d ${prefix}/${file})
  if(last_output MATCHES "${BUILD_DIR}")
    message(FATAL_ERROR "${file} still refers to the build tree:\n${last_output}")
  endif()
  if(NOT last_output MATCHES "\\$ORIGIN/\\.\\./lib")
    message(FATAL_ERROR "${file} has no $ORIGIN-relative run path:\n${last_output}")
  endif()
endforeach()

# zvsa from the prefix: both codecs there and back.
set(sample ${prefix}/share/zvtavelworks/speech-sample.wav)
foreach(codec speech music)
  run(${prefix}/bin/zvsa encode ${sample} -o ${WORK_DIR}/${codec}.zvsa --codec ${codec} -q)
  run(${prefix}/bin/zvsa info ${WORK_DIR}/${codec}.zvsa)
  run(${prefix}/bin/zvsa decode ${WORK_DIR}/${codec}.zvsa -o ${WORK_DIR}/${codec}.wav -q)
  file(SIZE ${WORK_DIR}/${codec}.wav decoded_bytes)
  if(decoded_bytes LESS 8000)
    message(FATAL_ERROR "${codec}: the decoded file has only ${decoded_bytes} bytes")
  endif()
endforeach()

# A consumer project against the installed package config.
run(${CMAKE_COMMAND} -S ${CONSUMER_SOURCE} -B ${WORK_DIR}/consumer -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${prefix} "-DCMAKE_C_FLAGS=${CONSUMER_FLAGS}" "-DCMAKE_CXX_FLAGS=${CONSUMER_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
run(${WORK_DIR}/consumer/consumer_c)
run(${WORK_DIR}/consumer/consumer_cxx)
