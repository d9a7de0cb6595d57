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

# A codec library exports only its C entry points and its ordinal table, links
# nothing but libc and libm, and never lets a C++ exception cross its edge.
function(zv_codec_library target version_script)
  set_target_properties(${target} PROPERTIES
    C_VISIBILITY_PRESET hidden CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti)
  target_link_options(${target} PRIVATE
    -Wl,--version-script=${version_script} -Wl,--as-needed)
  # clang links its sanitizer runtimes into programs only, so in the fuzz
  # build a shared library's sanitizer calls stay undefined until it is
  # loaded into a fuzz target.
  if(NOT ZV_BUILD_FUZZERS)
    target_link_options(${target} PRIVATE -Wl,--no-undefined)
  endif()
  set_target_properties(${target} PROPERTIES LINK_DEPENDS ${version_script})
endfunction()
