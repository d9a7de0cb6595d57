# Checks that a codec library contains no fused multiply-add: the codecs
# round every product and every sum where the source writes them
# (-ffp-contract=off, codec/CMakeLists.txt), and a fused instruction rounds
# once for both. GCC contracts by default on AArch64 (fmadd, fmla, ...) and
# wherever FMA is enabled on x86-64 (vfmadd...), and the conformance vectors
# alone do not show it: the certified bounds hold for the fused results too.
# Run as cmake -DLIBRARY=<file.so> -DOBJDUMP=<the target's objdump> -P ...
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND ${OBJDUMP} -d --no-show-raw-insn -C ${LIBRARY}
                OUTPUT_FILE ${LIBRARY}.fma-disassembly RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} failed on ${LIBRARY}")
endif()
file(STRINGS ${LIBRARY}.fma-disassembly lines)
file(REMOVE ${LIBRARY}.fma-disassembly)

set(function "")
set(offenders)
foreach(line IN LISTS lines)
  if(line MATCHES "^[0-9a-f]+ <(.*)>:$")
    set(function "${CMAKE_MATCH_1}")
  elseif(line MATCHES "^ +[0-9a-f]+:\t(v?fn?m(add|sub|la|ls)[a-z0-9.]*)")
    list(APPEND offenders "${function}: ${CMAKE_MATCH_1}")
  endif()
endforeach()

if(offenders)
  list(REMOVE_DUPLICATES offenders)
  list(JOIN offenders "\n  " report)
  message(FATAL_ERROR "fused multiply-adds in ${LIBRARY}:\n  ${report}")
endif()
