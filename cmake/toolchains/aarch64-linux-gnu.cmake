# Cross build for 64-bit ARM Linux with Debian's cross toolchain
# (crossbuild-essential-arm64) and the :arm64 libraries of a multiarch
# install (scripts/install-deps.sh).
# The tests run under qemu user mode.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(ZV_CROSS_TRIPLE aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${ZV_CROSS_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${ZV_CROSS_TRIPLE}-g++)

# Debian's multiarch layout: the target's libraries and their CMake package
# files are in /usr/lib/aarch64-linux-gnu, found through the library
# architecture; the build machine's own (x86_64-linux-gnu) are never looked
# at. Programs (cmake, python3, the shell) are the build machine's.
set(CMAKE_LIBRARY_ARCHITECTURE ${ZV_CROSS_TRIPLE})
set(CMAKE_IGNORE_PREFIX_PATH /usr/lib/x86_64-linux-gnu)
set(CMAKE_IGNORE_PATH /usr/lib/x86_64-linux-gnu /usr/lib/x86_64-linux-gnu/cmake)

# pkg-config reads the target's .pc files (multiarch puts them under
# /usr/lib/aarch64-linux-gnu/pkgconfig), never the build machine's.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${ZV_CROSS_TRIPLE}/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# ctest and gtest_discover_tests run the test programs through qemu, with the
# target's loader and C library of the multiarch install (/lib/aarch64-linux-gnu),
# the ones the :arm64 libraries come with. Not with -L /usr/aarch64-linux-gnu:
# that loader is the cross toolchain's and may be older than the multiarch C
# library it then loads, and the mismatch hangs the first thread a program
# starts.
find_program(ZV_QEMU_AARCH64 qemu-aarch64)
if(ZV_QEMU_AARCH64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZV_QEMU_AARCH64})
endif()
