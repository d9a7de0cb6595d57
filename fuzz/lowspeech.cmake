# The low-rate speech decoder fed arbitrary bytes in 18-byte frames, in both
# sample formats.
zv_fuzz_target(lowspeech_decoder_fuzzer ${CMAKE_CURRENT_LIST_DIR}/lowspeech_decoder_fuzzer.cpp)
target_link_libraries(lowspeech_decoder_fuzzer PRIVATE qv48_core)
