# The encoding engine's whole path (conversion and encode job, and through
# zvsa) against real time and against the codec alone, FLAC and MP3 sources,
# and zvsa's peak memory on a long source; see engine_benchmark.cpp.
# libsndfile writes the FLAC and MP3 sources of part 3.
find_package(PkgConfig REQUIRED)
pkg_check_modules(ZV_BENCH_SNDFILE REQUIRED IMPORTED_TARGET sndfile)
add_executable(engine_benchmark ${CMAKE_CURRENT_LIST_DIR}/engine_benchmark.cpp)
target_link_libraries(engine_benchmark PRIVATE zv_engine PkgConfig::ZV_BENCH_SNDFILE)
target_compile_definitions(engine_benchmark PRIVATE
  ZV_TESTVECTORS_DIR="${PROJECT_SOURCE_DIR}/tests/data/vectors"
  ZVSA_PATH="$<TARGET_FILE:zvsa>")
add_dependencies(engine_benchmark zvsa QV48W QV80W QV160MXW)
