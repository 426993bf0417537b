# Cross build for 64-bit Windows with Debian's mingw-w64: the DLL and
# zizider.exe as they run under a 64-bit Wine.
set(ZIZIDER_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
