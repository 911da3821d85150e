# Cross-compiling for 64-bit ARM Linux with Debian's aarch64-linux-gnu
# compilers, against the arm64 libraries installed beside the build machine's
# own (multiarch: /usr/lib/aarch64-linux-gnu; tools/deps.sh aarch64).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(PELLAX_TRIPLET aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${PELLAX_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${PELLAX_TRIPLET}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${PELLAX_TRIPLET})
# The build machine's libraries share /usr with the arm64 ones: packages are
# looked for only in the arm64 folders, so that a configuration file of the
# build machine's (lib/x86_64-linux-gnu/cmake) is never taken.
set(CMAKE_FIND_ROOT_PATH /usr/${PELLAX_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
set(CMAKE_IGNORE_PREFIX_PATH /usr/lib/x86_64-linux-gnu)
set(CMAKE_IGNORE_PATH /usr/lib/x86_64-linux-gnu /usr/lib/x86_64-linux-gnu/cmake)
# No binfmt_misc is assumed: the tests, their discovery and the programs they
# start run through qemu's user mode, which takes the arm64 C library from the
# cross toolchain's folder.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/${PELLAX_TRIPLET})
