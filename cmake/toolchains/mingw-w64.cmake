# Shared by the two Windows toolchains, which set JOTWELL_MINGW_TRIPLE and
# CMAKE_SYSTEM_PROCESSOR first. The posix thread model's libstdc++ has
# std::thread and std::mutex; the win32 model's lacks them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${JOTWELL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${JOTWELL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${JOTWELL_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${JOTWELL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Every program and the library need nothing but the system's own DLLs:
# libgcc, libstdc++ and winpthread go in whole. The system's libraries are
# import archives, which -static links as such.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)
