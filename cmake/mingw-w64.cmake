# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the posix
# threads variant, which std::thread needs).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(PELLAX_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PELLAX_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PELLAX_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${PELLAX_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${PELLAX_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# One program that needs nothing but what Windows ships: the C++ runtime,
# the threads library and zlib go inside it.
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
