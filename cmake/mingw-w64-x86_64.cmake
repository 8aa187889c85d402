# Cross-compiling for 64-bit Windows with mingw-w64 (posix thread variant,
# which ships libgomp for OpenMP and std::thread without extra libraries).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PELIDORE_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PELIDORE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PELIDORE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PELIDORE_MINGW_TRIPLE}-windres)

set(PELIDORE_MINGW_DEPS "" CACHE PATH "Prefix holding the cross-built snappy, giflib, libimagequant and GoogleTest")

set(CMAKE_FIND_ROOT_PATH /usr/${PELIDORE_MINGW_TRIPLE} ${PELIDORE_MINGW_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(PELIDORE_WINE NAMES wine)
if(PELIDORE_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PELIDORE_WINE})
endif()
