# Cross build for 64-bit Windows with the MinGW-w64 compilers of Debian (posix thread model).
# Every program is linked statically: the executables import only system DLLs and run on a bare Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The shipping build (MinSizeRel, -Os) is made small: each function in its own section so that the linker
# drops what nothing calls, no exception tables or type information (nothing on the intro's path throws or
# asks for a type), no symbols, and no time stamp, so that the same sources give the same bytes.
# Not -fdata-sections: for this target it moves zero-filled arrays out of .bss into stored data.
set(CMAKE_C_FLAGS_MINSIZEREL_INIT "-ffunction-sections")
set(CMAKE_CXX_FLAGS_MINSIZEREL_INIT "-ffunction-sections -fno-exceptions -fno-rtti")
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL_INIT "-Wl,--gc-sections -Wl,--no-insert-timestamp -s")
