# The music decoder fed arbitrary bytes with arbitrary counts.
zv_fuzz_target(music_decoder_fuzzer ${CMAKE_CURRENT_LIST_DIR}/music_decoder_fuzzer.cpp)
target_link_libraries(music_decoder_fuzzer PRIVATE qv160mx_core)
