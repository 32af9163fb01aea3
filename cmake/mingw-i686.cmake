# Cross build for 32-bit Windows: the setup as it ships.
set(TESSARA_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
