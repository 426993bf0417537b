# Cross build for 32-bit Windows with Debian's mingw-w64: ZIZIDER.DLL with the
# terminal's ABI (__stdcall exports, 32-bit record fields).
set(ZIZIDER_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
