# Cross build of the Windows programs for x86-64 with clang and lld. The setup ships as a
# 32-bit program; this build exists for machines that run 64-bit user code only, where Wine
# cannot start a 32-bit program: the Windows unit tests then run this build in a 64-bit prefix.
set(TESSARA_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/clang-mingw.cmake)
