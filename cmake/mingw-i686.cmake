# Cross build for 32-bit Windows with Debian's mingw-w64 i686 compiler.
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
# The posix-threads variant of the compiler is preferred: its runtime carries
# the C++ thread and file system support that the win32 variant lacks.
set(CMAKE_SYSTEM_NAME Windows)
if(NOT DEFINED MINGW_TRIPLET)
  set(MINGW_TRIPLET i686-w64-mingw32)
  set(CMAKE_SYSTEM_PROCESSOR x86)
endif()
find_program(MINGW_CXX NAMES ${MINGW_TRIPLET}-g++-posix ${MINGW_TRIPLET}-g++ REQUIRED)
find_program(MINGW_CC NAMES ${MINGW_TRIPLET}-gcc-posix ${MINGW_TRIPLET}-gcc REQUIRED)
find_program(MINGW_WINDRES NAMES ${MINGW_TRIPLET}-windres REQUIRED)
set(CMAKE_CXX_COMPILER ${MINGW_CXX})
set(CMAKE_C_COMPILER ${MINGW_CC})
set(CMAKE_RC_COMPILER ${MINGW_WINDRES})

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No compiler runtime DLL beside the binaries: the C++ and gcc runtimes and
# winpthread are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Binaries run under Wine when tests or try_run need them.
find_program(WINE_PROGRAM wine)
if(WINE_PROGRAM)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_PROGRAM})
endif()

# Header-only libraries come from the build machine. Each is staged under the
# build tree on its own, so that the cross compiler never sees the build
# machine's other system headers in /usr/include.
function(mingw_stage_header_only package header_dir)
  set(stage ${CMAKE_BINARY_DIR}/header-only/${package})
  if(NOT EXISTS /usr/share/cmake/${package} OR NOT EXISTS /usr/include/${header_dir})
    return()
  endif()
  file(MAKE_DIRECTORY ${stage}/include ${stage}/share/cmake)
  file(COPY /usr/share/cmake/${package} DESTINATION ${stage}/share/cmake)
  if(NOT EXISTS ${stage}/include/${header_dir})
    file(CREATE_LINK /usr/include/${header_dir} ${stage}/include/${header_dir} SYMBOLIC)
  endif()
  set(${package}_DIR ${stage}/share/cmake/${package} CACHE PATH "Staged ${package} for the cross build")
endfunction()
mingw_stage_header_only(nlohmann_json nlohmann)
