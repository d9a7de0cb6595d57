# The encoding engine's whole path (conversion and encode job, and through
# zvsa) against real time and against the codec alone, with zvsa's peak
# memory; see engine_benchmark.cpp.
add_executable(engine_benchmark ${CMAKE_CURRENT_LIST_DIR}/engine_benchmark.cpp)
target_link_libraries(engine_benchmark PRIVATE zv_engine)
target_compile_definitions(engine_benchmark PRIVATE
  ZV_TESTVECTORS_DIR="${PROJECT_SOURCE_DIR}/tests/data/vectors"
  ZVSA_PATH="$<TARGET_FILE:zvsa>")
add_dependencies(engine_benchmark zvsa QV80W QV160MXW)
