# Whole-process races against the reference codecs (speexenc/speexdec,
# opusenc/opusdec, c2enc/c2dec): speed in codec_race.cpp, quality in
# codec_quality.cpp.
add_executable(codec_pipe ${CMAKE_CURRENT_LIST_DIR}/codec_pipe.cpp)
target_link_libraries(codec_pipe PRIVATE zv_platform)

add_library(zv_bench_child_process STATIC ${CMAKE_CURRENT_LIST_DIR}/child_process.cpp)

add_executable(codec_race ${CMAKE_CURRENT_LIST_DIR}/codec_race.cpp)
target_compile_definitions(codec_race PRIVATE ZV_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
target_link_libraries(codec_race PRIVATE zv_pcm_wav zv_bench_child_process)
add_dependencies(codec_race codec_pipe)
add_dependencies(codec_race QV48W QV80W QV160MXW)

add_executable(codec_quality ${CMAKE_CURRENT_LIST_DIR}/codec_quality.cpp)
target_compile_definitions(codec_quality PRIVATE ZV_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
target_link_libraries(codec_quality PRIVATE zv_audio_quality zv_pcm_wav zv_bench_child_process)
add_dependencies(codec_quality codec_pipe QV48W QV80W)
