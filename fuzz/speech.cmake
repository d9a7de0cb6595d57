# The speech decoder fed arbitrary bytes in 20-byte frames, in both sample
# formats.
zv_fuzz_target(speech_decoder_fuzzer ${CMAKE_CURRENT_LIST_DIR}/speech_decoder_fuzzer.cpp)
target_link_libraries(speech_decoder_fuzzer PRIVATE qv80_core)
