# The same cross build for 64-bit Windows. The product is the 32-bit library;
# this variant lets the Windows code run under a 64-bit-only Wine, on machines
# whose kernel cannot run 32-bit programs.
set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
