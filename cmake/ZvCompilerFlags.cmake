# Warnings and sanitizers. (The codecs' own compile flags are in
# codec/CMakeLists.txt.)

add_compile_options(-Wall -Wextra)

# The fuzz build instruments everything for coverage and memory errors; the
# fuzz targets themselves add -fsanitize=fuzzer for libFuzzer's main.
if(ZV_BUILD_FUZZERS)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(ZV_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# A shared library of the system exports only its C entry points and its
# ordinal table, as its version script lists them: everything else is hidden
# and local, so nothing of its C++ (or of the static libraries linked in)
# leaks. Every symbol must be resolved when it is linked, except in the fuzz
# build, where clang links its sanitizer runtimes into programs only and a
# shared library's sanitizer calls stay open until a fuzz target loads it.
function(zv_export_only_listed target version_script)
  set_target_properties(${target} PROPERTIES
    C_VISIBILITY_PRESET hidden CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    LINK_DEPENDS ${version_script})
  target_link_options(${target} PRIVATE -Wl,--version-script=${version_script} -Wl,--as-needed)
  if(NOT ZV_BUILD_FUZZERS)
    target_link_options(${target} PRIVATE -Wl,--no-undefined)
  endif()
endfunction()

# A library that carries Qt and is loaded by hosts that come and go stays
# loaded once a host has loaded it: Qt and what it loads in turn cannot be
# unloaded and loaded again cleanly (their static data would be lost
# half-way, and a later call would start a second Qt in a process that had
# one). The wizard library keeps being unloadable, since its unloading is
# when it deletes its working files.
function(zv_stay_loaded target)
  target_link_options(${target} PRIVATE -Wl,-z,nodelete)
endfunction()
