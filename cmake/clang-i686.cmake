# Cross build for 32-bit Windows with clang and lld: the setup as it ships.
set(TESSARA_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/clang-mingw.cmake)
