# Installs the build tree into a new prefix and checks that it is usable on
# its own: every file lies in its folder of the file-system hierarchy (bin/,
# LIBDIR, the private folders PKGLIBDIR and PKGDATADIR, include/); the
# programs run from there (zvsa on the installed sample, webhost publishing
# through the installed component) and find the libraries by their run paths
# and the private folders; the component finds its program and images in the
# installed tree, also when loaded from a "botcache" copy of it; no installed
# file refers to the build tree; a consumer project finds the package through
# its CMake config and pkg-config and builds against it.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/check_component_files.cmake)
file(REMOVE_RECURSE ${WORK_DIR})
# "bots" in the prefix, so that a copy of the component under "botcache"
# stands for a cached one.
set(prefix ${WORK_DIR}/bots/prefix)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status
                  OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}\n${out}\n${err}")
  endif()
  set(last_output "${out}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

set(version_major ${VERSION})
string(REGEX REPLACE "\\..*" "" version_major "${VERSION}")
foreach(file bin/zvsa bin/webhost bin/zvwizard
        ${LIBDIR}/libZvEncoder.so.${VERSION} ${LIBDIR}/libZvEncoder.so.${version_major}
        ${LIBDIR}/libZvEncoder.so
        ${PKGLIBDIR}/ZvInsertBot
        ${PKGLIBDIR}/libQV48W.so ${PKGLIBDIR}/libQV80W.so ${PKGLIBDIR}/libQV160MXW.so
        ${PKGLIBDIR}/libZvEditBot.so
        ${PKGLIBDIR}/libQV48W.so.${VERSION} ${PKGLIBDIR}/libQV80W.so.${VERSION}
        ${PKGLIBDIR}/libQV160MXW.so.${VERSION}
        ${PKGLIBDIR}/libZvEditBot.so.${VERSION}
        ${PKGDATADIR}/FPOneButton.gif ${PKGDATADIR}/FPTwoButton.gif ${PKGDATADIR}/FPThreeButton.gif
        ${PKGDATADIR}/ZvStreamPlayer.js
        ${PKGDATADIR}/Gallery/speech-sample-speech.zvsa ${PKGDATADIR}/Gallery/speech-sample-music.zvsa
        ${PKGDATADIR}/speech-sample.wav
        include/zv/codec_api.h include/zv/system_string.h include/zv/zv_encoder.h
        ${LIBDIR}/cmake/ZvTavelworks/ZvTavelworksConfig.cmake
        ${LIBDIR}/pkgconfig/zvtavelworks.pc)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "the installed tree lacks ${file}")
  endif()
endforeach()

# The library folder holds libraries and the cmake/ and pkgconfig/ folders
# only, besides the private folder.
file(GLOB lib_entries RELATIVE ${prefix}/${LIBDIR} ${prefix}/${LIBDIR}/*)
foreach(entry ${lib_entries})
  if(NOT entry MATCHES "^(lib[A-Za-z0-9_]+\\.so(\\.[0-9]+)*|cmake|pkgconfig|zvtavelworks)$")
    message(FATAL_ERROR "${LIBDIR}/${entry} does not belong in the library folder")
  endif()
endforeach()

# Linked libraries are found by SONAME; a codec's SONAME carries the version.
run(readelf -d ${prefix}/${LIBDIR}/libZvEncoder.so)
if(NOT last_output MATCHES "Library soname: \\[libZvEncoder\\.so\\.${version_major}\\]")
  message(FATAL_ERROR "libZvEncoder.so has no versioned SONAME:\n${last_output}")
endif()
foreach(codec QV48W QV80W QV160MXW)
  run(readelf -d ${prefix}/${PKGLIBDIR}/lib${codec}.so)
  if(NOT last_output MATCHES "Library soname: \\[lib${codec}\\.so\\.${version_major}\\]")
    message(FATAL_ERROR "lib${codec}.so has no versioned SONAME:\n${last_output}")
  endif()
endforeach()

# Run paths must be relative to the installed file, never the build tree.
foreach(file bin/zvsa bin/webhost bin/zvwizard ${PKGLIBDIR}/ZvInsertBot)
  run(readelf -d ${prefix}/${file})
  if(last_output MATCHES "${BUILD_DIR}")
    message(FATAL_ERROR "${file} still refers to the build tree:\n${last_output}")
  endif()
  if(NOT last_output MATCHES "\\$ORIGIN/\\.\\.")
    message(FATAL_ERROR "${file} has no $ORIGIN-relative run path:\n${last_output}")
  endif()
endforeach()

# zvsa from the prefix: every codec, loaded from the private library folder,
# there and back.
set(sample ${prefix}/${PKGDATADIR}/speech-sample.wav)
foreach(codec lowspeech speech music)
  run(${prefix}/bin/zvsa encode ${sample} -o ${WORK_DIR}/${codec}.zvsa --codec ${codec} -q)
  run(${prefix}/bin/zvsa info ${WORK_DIR}/${codec}.zvsa)
  run(${prefix}/bin/zvsa decode ${WORK_DIR}/${codec}.zvsa -o ${WORK_DIR}/${codec}.wav -q)
  file(SIZE ${WORK_DIR}/${codec}.wav decoded_bytes)
  if(decoded_bytes LESS 8000)
    message(FATAL_ERROR "${codec}: the decoded file has only ${decoded_bytes} bytes")
  endif()
endforeach()
# Its default preview image is the installed one.
run(${prefix}/bin/zvsa markup hello.zvsa --webbot --buttons 2)
if(NOT last_output MATCHES "SRC=&quot;file://([^&]*FPTwoButton\\.gif)&quot;")
  message(FATAL_ERROR "zvsa markup --webbot names no preview image:\n${last_output}")
endif()
file(REAL_PATH ${prefix}/${PKGDATADIR}/FPTwoButton.gif installed_image)
if(NOT CMAKE_MATCH_1 STREQUAL installed_image)
  message(FATAL_ERROR "zvsa's preview image is ${CMAKE_MATCH_1}, not ${installed_image}")
endif()

# webhost publishes through the installed component library.
run(${prefix}/bin/webhost publish ${TEST_DATA_DIR}/web ${WORK_DIR}/published)
file(READ ${WORK_DIR}/published/index.htm published)
file(READ ${TEST_DATA_DIR}/web-published/index.htm expected)
if(NOT published STREQUAL expected)
  message(FATAL_ERROR "webhost from the prefix published another page:\n${published}")
endif()

# The component's files: from the installed component folder, and from a
# copy of it under "botcache", which stands for the same folder under "bots".
file(COPY ${PROBE} DESTINATION ${prefix}/${PKGLIBDIR})
get_filename_component(probe_name ${PROBE} NAME)
check_component_files(${PROBE_CHECKER} ${prefix}/${PKGLIBDIR}/${probe_name} ${prefix})
set(cached ${WORK_DIR}/botcache/prefix/${PKGLIBDIR})
file(COPY ${PROBE} DESTINATION ${cached})
check_component_files(${PROBE_CHECKER} ${cached}/${probe_name} ${prefix})
file(REMOVE ${prefix}/${PKGLIBDIR}/${probe_name})

# pkg-config answers with the prefix's folders, wherever the prefix lies.
set(ENV{PKG_CONFIG_PATH} ${prefix}/${LIBDIR}/pkgconfig)
run(pkg-config --cflags --libs zvtavelworks)
separate_arguments(pc_flags UNIX_COMMAND "${last_output}")
set(pc_seen "")
foreach(flag ${pc_flags})
  if(flag MATCHES "^-I(.+)$")
    file(REAL_PATH ${CMAKE_MATCH_1} dir)
    file(REAL_PATH ${prefix}/include expected)
  elseif(flag MATCHES "^-L(.+)$")
    file(REAL_PATH ${CMAKE_MATCH_1} dir)
    file(REAL_PATH ${prefix}/${LIBDIR} expected)
  else()
    list(APPEND pc_seen ${flag})
    continue()
  endif()
  if(NOT dir STREQUAL expected)
    message(FATAL_ERROR "pkg-config's ${flag} is not ${expected}")
  endif()
  list(APPEND pc_seen ${expected})
endforeach()
file(REAL_PATH ${prefix}/include real_include)
file(REAL_PATH ${prefix}/${LIBDIR} real_libdir)
foreach(wanted ${real_include} ${real_libdir} -lZvEncoder)
  if(NOT wanted IN_LIST pc_seen)
    message(FATAL_ERROR "pkg-config gives nothing for ${wanted}: ${last_output}")
  endif()
endforeach()

# A consumer project against the installed package config and pkg-config.
run(${CMAKE_COMMAND} -S ${CONSUMER_SOURCE} -B ${WORK_DIR}/consumer -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${prefix} "-DCMAKE_C_FLAGS=${CONSUMER_FLAGS}" "-DCMAKE_CXX_FLAGS=${CONSUMER_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
run(${WORK_DIR}/consumer/consumer_c)
run(${WORK_DIR}/consumer/consumer_cxx)
run(${WORK_DIR}/consumer/consumer_pc)
