# Cross-building for 64-bit Windows from Debian with the mingw-w64 compilers,
# posix threads flavour (std::thread and std::mutex need it).
# TOVARIN_WINDOWS_PREFIX: where the dependencies built for Windows live
# (packaging/windows/dipendenze.sh puts them there); searched before the
# compilers' own root.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOVARIN_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TOVARIN_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOVARIN_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TOVARIN_MINGW}-windres)
set(CMAKE_AR ${TOVARIN_MINGW}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${TOVARIN_MINGW}-ranlib CACHE FILEPATH "")

if(DEFINED ENV{TOVARIN_WINDOWS_PREFIX} AND NOT TOVARIN_WINDOWS_PREFIX)
  set(TOVARIN_WINDOWS_PREFIX $ENV{TOVARIN_WINDOWS_PREFIX})
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TOVARIN_WINDOWS_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${TOVARIN_MINGW})
if(TOVARIN_WINDOWS_PREFIX)
  list(PREPEND CMAKE_FIND_ROOT_PATH ${TOVARIN_WINDOWS_PREFIX})
endif()
# Programs (moc, uic, rcc) come from the build machine; libraries and headers
# only from the Windows roots.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
