# Cross build for 64-bit Windows with Debian's mingw-w64 (the POSIX thread
# model, which std::thread and std::mutex need). The programs are linked
# statically, so that the .exe files need no DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VARNO_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${VARNO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARNO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VARNO_MINGW_TRIPLE}-windres)

# Libraries and headers of the target only; programs (help2man, wine) of the host.
set(CMAKE_FIND_ROOT_PATH /usr/${VARNO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
