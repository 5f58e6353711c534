# What a build for Windows (cross-built with cmake/mingw64.cmake) needs beyond
# the Linux one.

# Every executable carries the manifest: UTF-8 for the narrow calls, no
# elevation asked. Compiled once here and added to every link of a program.
set(TOVARIN_MANIFESTO_RC ${CMAKE_BINARY_DIR}/tovarin-manifesto.rc)
set(TOVARIN_MANIFESTO_OBJ ${CMAKE_BINARY_DIR}/tovarin-manifesto.res.o)
file(WRITE ${TOVARIN_MANIFESTO_RC} "1 24 \"${PROJECT_SOURCE_DIR}/packaging/windows/tovarin.manifest\"\n")
find_program(TOVARIN_WINDRES NAMES ${CMAKE_RC_COMPILER} x86_64-w64-mingw32-windres REQUIRED)
execute_process(COMMAND ${TOVARIN_WINDRES} ${TOVARIN_MANIFESTO_RC} -O coff -o ${TOVARIN_MANIFESTO_OBJ}
                RESULT_VARIABLE esito)
if(NOT esito EQUAL 0)
  message(FATAL_ERROR "windres could not compile the manifest")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/packaging/windows/tovarin.manifest)
string(APPEND CMAKE_EXE_LINKER_FLAGS " ${TOVARIN_MANIFESTO_OBJ}")

# Windows' own headers: no min/max macros in the way of std::min.
add_compile_definitions(NOMINMAX)

# localtime_r and the other POSIX re-entrant calls, which mingw-w64 gives
# when asked for.
add_compile_definitions(_POSIX_THREAD_SAFE_FUNCTIONS=200112L)
