# What both mingw-w64 toolchains share; the including file names the triplet.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${ZIZIDER_MINGW_TRIPLET})
# The posix thread model: C++ threads and statics work without extra DLLs.
find_program(CMAKE_C_COMPILER NAMES ${ZIZIDER_MINGW_TRIPLET}-gcc-posix ${ZIZIDER_MINGW_TRIPLET}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${ZIZIDER_MINGW_TRIPLET}-g++-posix ${ZIZIDER_MINGW_TRIPLET}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${ZIZIDER_MINGW_TRIPLET}-windres REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/${ZIZIDER_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The programs carry their C and C++ runtimes, so Wine and a terminal need
# nothing beyond the system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
