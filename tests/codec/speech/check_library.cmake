# Checks libQV80W.so: run as cmake -DLIBRARY=<path> -DCHECK_NEEDED=ON|OFF -P.
#  - NEEDED entries (readelf -d): only libc, libm and the C library's loader;
#  - dynamic symbols defined by the library (nm -D --defined-only): exactly
#    the eight QV80_ entry points and zv_ordinal_table.
cmake_minimum_required(VERSION 3.25)
set(allowed_needed libc.so.6 libm.so.6 ld-linux-x86-64.so.2)
set(expected_exports
  QV80_Close_Coder QV80_Close_Decoder QV80_Decode QV80_Encode
  QV80_GetCodecInfo QV80_GetCodecInfoEx QV80_Open_Coder QV80_Open_Decoder
  zv_ordinal_table)

if(CHECK_NEEDED)
  execute_process(COMMAND readelf -d ${LIBRARY} OUTPUT_VARIABLE dynamic RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "readelf failed on ${LIBRARY}")
  endif()
  string(REGEX MATCHALL "Shared library: \\[[^]]+\\]" needed_entries "${dynamic}")
  if(NOT needed_entries)
    message(FATAL_ERROR "no NEEDED entries found in ${LIBRARY}")
  endif()
  foreach(entry IN LISTS needed_entries)
    string(REGEX REPLACE "Shared library: \\[([^]]+)\\]" "\\1" name "${entry}")
    if(NOT name IN_LIST allowed_needed)
      message(FATAL_ERROR "${LIBRARY} needs ${name}; only ${allowed_needed} are allowed")
    endif()
  endforeach()
endif()

execute_process(COMMAND nm -D --defined-only ${LIBRARY} OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
set(exports "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^[0-9a-fA-F]* *[A-Za-z] +" "" name "${line}")
  string(REGEX REPLACE "@.*$" "" name "${name}")
  list(APPEND exports ${name})
endforeach()
list(SORT exports)
set(expected ${expected_exports})
list(SORT expected)
if(NOT exports STREQUAL expected)
  message(FATAL_ERROR "${LIBRARY} exports [${exports}], expected [${expected}]")
endif()
message(STATUS "${LIBRARY}: links and exports as intended")
