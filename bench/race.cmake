# Whole-process speed races against the reference codecs (speexenc/speexdec,
# opusenc/opusdec); see codec_race.cpp.
add_executable(codec_pipe ${CMAKE_CURRENT_LIST_DIR}/codec_pipe.cpp)
target_link_libraries(codec_pipe PRIVATE zv_platform)

add_executable(codec_race ${CMAKE_CURRENT_LIST_DIR}/codec_race.cpp)
target_compile_definitions(codec_race PRIVATE ZV_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
target_link_libraries(codec_race PRIVATE zv_pcm_wav)
add_dependencies(codec_race codec_pipe)
add_dependencies(codec_race QV48W QV80W QV160MXW)
