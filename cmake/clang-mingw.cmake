# Cross build for Windows with clang, lld and the mingw-w64 headers, runtime and libstdc++ of
# TESSARA_MINGW_ARCH (i686 or x86_64), set by the toolchain file that includes this one. The
# whole program is optimised at link time (the presets' flags); clang alone would take the
# host's C++ headers, so it is pointed at mingw GCC's.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TESSARA_MINGW_ARCH})
set(tessara_triple ${TESSARA_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET ${tessara_triple})
set(CMAKE_CXX_COMPILER_TARGET ${tessara_triple})
set(CMAKE_RC_COMPILER ${tessara_triple}-windres)
# Archives of link-time-optimised objects need LLVM's archiver for their symbol index.
set(CMAKE_AR /usr/bin/llvm-ar-14 CACHE FILEPATH "Archiver of the clang build")
set(CMAKE_RANLIB /usr/bin/llvm-ranlib-14 CACHE FILEPATH "Archive indexer of the clang build")
set(CMAKE_SYSROOT /usr/${tessara_triple})
set(CMAKE_FIND_ROOT_PATH /usr/${tessara_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# mingw GCC's posix-thread runtime: its C++ headers, and libstdc++.
file(GLOB tessara_gcc_dirs /usr/lib/gcc/${tessara_triple}/*-posix)
list(GET tessara_gcc_dirs 0 tessara_gcc)
set(tessara_cxx ${tessara_gcc}/include/c++)
set(CMAKE_CXX_FLAGS_INIT
    "-nostdinc++ -isystem ${tessara_cxx} -isystem ${tessara_cxx}/${tessara_triple} -isystem ${tessara_cxx}/backward")
foreach(kind EXE SHARED MODULE)
  # The compile-only header options reach the link line too.
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "-fuse-ld=lld -L${tessara_gcc} -Wno-unused-command-line-argument")
endforeach()

# Windows test programs run under Wine, in the build tree's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/support/wine-run.sh)
