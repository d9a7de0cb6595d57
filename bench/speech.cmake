# Encoding and decoding speed of the speech codec on a minute of speech.
add_executable(speech_codec_benchmark ${CMAKE_CURRENT_LIST_DIR}/speech_codec_benchmark.cpp)
target_compile_definitions(speech_codec_benchmark PRIVATE ZV_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
target_link_libraries(speech_codec_benchmark PRIVATE qv80_core zv_pcm_wav benchmark::benchmark)
