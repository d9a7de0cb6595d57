# The encoding engine's readers and its decode job on arbitrary files. The
# decode job fuzzer loads the fuzz build's own codec libraries by table name
# (from the private library folder, found from the fuzz target's bin/), so it
# depends on them.
foreach(target read_wave_file_fuzzer read_au_file_fuzzer decode_job_fuzzer)
  zv_fuzz_target(${target} ${CMAKE_CURRENT_LIST_DIR}/${target}.cpp)
  target_link_libraries(${target} PRIVATE zv_engine)
endforeach()
add_dependencies(decode_job_fuzzer QV48W QV80W QV160MXW)
# Any bytes through the whole source preparation, libsndfile's road included.
zv_fuzz_target(source_preparation_fuzzer ${CMAKE_CURRENT_LIST_DIR}/source_preparation_fuzzer.cpp)
target_link_libraries(source_preparation_fuzzer PRIVATE zv_engine)
