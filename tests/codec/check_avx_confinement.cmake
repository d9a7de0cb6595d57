# Checks that a codec library executes no AVX instruction unless the
# processor reported AVX2: every VEX-encoded instruction (mnemonic v...,
# which includes every use of the ymm registers) must sit in a function
# whose name ends in Avx2, the kernels that run only at that level.
# Run as cmake -DLIBRARY=<file.so> -P check_avx_confinement.cmake.
cmake_minimum_required(VERSION 3.25)
find_program(OBJDUMP objdump REQUIRED)

execute_process(COMMAND ${OBJDUMP} -d --no-show-raw-insn -C ${LIBRARY}
                OUTPUT_FILE ${LIBRARY}.disassembly RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${LIBRARY}")
endif()
file(STRINGS ${LIBRARY}.disassembly lines)
file(REMOVE ${LIBRARY}.disassembly)

set(function "")
set(offenders)
foreach(line IN LISTS lines)
  if(line MATCHES "^[0-9a-f]+ <(.*)>:$")
    set(function "${CMAKE_MATCH_1}")
  elseif(line MATCHES "^ +[0-9a-f]+:\t(v[a-z0-9]+)")
    set(mnemonic "${CMAKE_MATCH_1}")
    if(NOT function MATCHES "Avx2\\(")
      list(APPEND offenders "${function}: ${mnemonic}")
    endif()
  endif()
endforeach()

if(offenders)
  list(REMOVE_DUPLICATES offenders)
  list(JOIN offenders "\n  " report)
  message(FATAL_ERROR "AVX instructions outside the AVX2 kernels of ${LIBRARY}:\n  ${report}")
endif()
