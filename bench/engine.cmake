# The encoding engine's whole path (conversion and encode job, and through
# zvsa) against real time and against the codec alone, with zvsa's peak
# memory; see engine_benchmark.cpp.
if(TARGET ZvEncoder)
  add_executable(engine_benchmark ${CMAKE_CURRENT_LIST_DIR}/engine_benchmark.cpp)
  target_link_libraries(engine_benchmark PRIVATE ZvEncoder)
  target_compile_definitions(engine_benchmark PRIVATE
    ZV_TESTVECTORS_DIR="${PROJECT_SOURCE_DIR}/tests/data/vectors")
  if(TARGET zvsa)
    target_compile_definitions(engine_benchmark PRIVATE ZVSA_PATH="$<TARGET_FILE:zvsa>")
    add_dependencies(engine_benchmark zvsa)
  endif()
  foreach(codec QV80W QV160MXW)
    if(TARGET ${codec})
      add_dependencies(engine_benchmark ${codec})
    endif()
  endforeach()
endif()
