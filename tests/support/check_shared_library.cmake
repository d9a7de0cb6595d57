# Checks a shared library's dynamic section and symbol table, run as
# cmake -DLIBRARY=... -DCHECK_NEEDED=... "-DALLOWED_NEEDED=a;b" "-DEXPECTED_EXPORTS=x;y" -P:
#   LIBRARY           the .so file
#   CHECK_NEEDED      ON to require that every NEEDED entry is in ALLOWED_NEEDED
#   ALLOWED_NEEDED    list of library names it may need
#   EXPECTED_EXPORTS  list of the exact defined dynamic symbols
cmake_minimum_required(VERSION 3.25)
find_program(READELF readelf REQUIRED)
find_program(NM nm REQUIRED)

if(CHECK_NEEDED)
  execute_process(COMMAND ${READELF} -d ${LIBRARY} OUTPUT_VARIABLE dynamic RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "readelf failed on ${LIBRARY}")
  endif()
  string(REGEX MATCHALL "Shared library: \\[[^]]+\\]" needed_lines "${dynamic}")
  if(NOT needed_lines)
    message(FATAL_ERROR "no NEEDED entries found in ${LIBRARY}")
  endif()
  foreach(line IN LISTS needed_lines)
    string(REGEX REPLACE "Shared library: \\[([^]]+)\\]" "\\1" name "${line}")
    if(NOT name IN_LIST ALLOWED_NEEDED)
      message(FATAL_ERROR "${LIBRARY} needs ${name}; allowed: ${ALLOWED_NEEDED}")
    endif()
  endforeach()
endif()

execute_process(COMMAND ${NM} -D --defined-only --format=posix ${LIBRARY}
                OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REPLACE "\n" ";" symbol_lines "${symbols}")
set(exported)
foreach(line IN LISTS symbol_lines)
  if(line STREQUAL "")
    continue()
  endif()
  # A symbol of LOCAL binding (nm's lower-case type letters other than the
  # weak "w" and "v", the unique "u" and the indirect "i") can sit in the
  # dynamic symbol table without being exported: nothing outside can bind
  # to it. Unoptimised builds leave such entries for inline variables of the
  # C++ library.
  if(line MATCHES "^[^ ]+ [a-hj-tx-z] ")
    continue()
  endif()
  string(REGEX REPLACE " .*" "" name "${line}")
  string(REGEX REPLACE "@.*" "" name "${name}")
  list(APPEND exported ${name})
endforeach()
list(SORT exported)
set(expected ${EXPECTED_EXPORTS})
list(SORT expected)
if(NOT exported STREQUAL expected)
  message(FATAL_ERROR "${LIBRARY} exports [${exported}], expected [${expected}]")
endif()
message(STATUS "${LIBRARY}: exports and dependencies as intended")
