# Shared part of the mingw-w64 toolchain files; QS_MINGW_TRIPLE is set by the caller.
# On Linux the cross tools carry the target triple in their names (Debian: x86_64-w64-mingw32-g++-posix).
# On Windows a MinGW-w64 installation (MSYS2's mingw64 or mingw32 environment, winlibs, ...) may only put plain
# gcc, g++ and windres on PATH; those are taken when they build for this triple's processor.
set(QS_MINGW_C_NAMES ${QS_MINGW_TRIPLE}-gcc-posix ${QS_MINGW_TRIPLE}-gcc)
set(QS_MINGW_CXX_NAMES ${QS_MINGW_TRIPLE}-g++-posix ${QS_MINGW_TRIPLE}-g++)
if(CMAKE_HOST_WIN32)
  find_program(QS_MINGW_PLAIN_GXX NAMES g++)
  if(QS_MINGW_PLAIN_GXX)
    execute_process(COMMAND ${QS_MINGW_PLAIN_GXX} -dumpmachine OUTPUT_VARIABLE QS_MINGW_PLAIN_MACHINE
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    string(REGEX REPLACE "-.*" "" QS_MINGW_WANTED_CPU "${QS_MINGW_TRIPLE}")
    if(QS_MINGW_PLAIN_MACHINE MATCHES "^${QS_MINGW_WANTED_CPU}-.*mingw")
      list(APPEND QS_MINGW_C_NAMES gcc)
      list(APPEND QS_MINGW_CXX_NAMES g++)
    endif()
  endif()
endif()
find_program(CMAKE_C_COMPILER NAMES ${QS_MINGW_C_NAMES} REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${QS_MINGW_CXX_NAMES} REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${QS_MINGW_TRIPLE}-windres windres REQUIRED)
if(NOT CMAKE_HOST_WIN32)
  # Debian's mingw-w64 headers and libraries; on Windows the compiler finds its own.
  set(CMAKE_FIND_ROOT_PATH /usr/${QS_MINGW_TRIPLE})
  set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
  set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
  set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
endif()
