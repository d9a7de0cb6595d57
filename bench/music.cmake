# Encoding and decoding speed of the music codec, per filter-bank form.
add_executable(music_codec_benchmark ${CMAKE_CURRENT_LIST_DIR}/music_codec_benchmark.cpp)
target_compile_definitions(music_codec_benchmark PRIVATE
  ZV_TESTVECTORS_DIR="${PROJECT_SOURCE_DIR}/tests/data/vectors")
target_link_libraries(music_codec_benchmark PRIVATE qv160mx_core benchmark::benchmark)
