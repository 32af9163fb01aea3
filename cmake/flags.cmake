# Warnings are errors everywhere in our own code.
function(tessara_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wno-sign-conversion -Werror)
endfunction()

# Product code: no exceptions, no RTTI, small sections the linker can drop.
function(tessara_product_flags target)
  tessara_warnings(${target})
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti -fno-threadsafe-statics -ffunction-sections
                                           -fdata-sections)
  if(WIN32)
    # Nothing unwinds through product code: no unwind tables either (they were a sixth of the
    # stub).
    target_compile_options(${target} PRIVATE -fno-asynchronous-unwind-tables -fno-unwind-tables)
    # Switches become chains of compares: a jump table costs its entries in the read-only data
    # and a relocation for each, more than the compares it saves.
    target_compile_options(${target} PRIVATE -fno-jump-tables)
    target_compile_options(
      ${target} PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:SHELL:-include ${CMAKE_SOURCE_DIR}/base/win/quiet_assertions.h>")
    # With assertions on, std::string is instantiated in our own code (bounds-checked and
    # built without exceptions) instead of pulled from the runtime with its unwinder.
    target_compile_definitions(${target} PUBLIC _GLIBCXX_ASSERTIONS WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501
                                                WINVER=0x0501 _WIN32_IE=0x0600)
  endif()
endfunction()

# Every Windows program links its runtime statically so that it runs on a bare system.
function(tessara_windows_program target)
  if(WIN32)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++
                                          -Wl,--gc-sections)
    # Functions whose code is the same after link-time optimisation (the standard containers'
    # helpers for element types of one size, above all) are kept once.
    target_link_options(${target} PRIVATE -Wl,-mllvm,-enable-merge-functions)
    # The link-time inliner's size model takes the standard strings' inline members for cheap and
    # copies them into every caller; below its -Oz default it keeps calls to them instead.
    target_link_options(${target} PRIVATE -Wl,-mllvm,-inline-threshold=-15)
    # The posix-thread libstdc++ needs the threads library, which GCC's driver would add.
    target_link_libraries(${target} PRIVATE pthread)
    # The short-form import libraries come before mingw-w64's in the search.
    add_dependencies(${target} tessara_import_libraries)
    target_link_options(${target} PRIVATE -L${TESSARA_IMPORT_DIR})
    # The oldest Windows of each architecture (lld would write 6.0), and no Terminal Server
    # awareness (lld would set it): an installer runs in the server's install mode.
    if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
      set(subsystem 5 2)
    else()
      set(subsystem 4 0)
    endif()
    list(GET subsystem 0 major)
    list(GET subsystem 1 minor)
    target_link_options(${target} PRIVATE -Wl,--major-os-version=4,--minor-os-version=0
      -Wl,--major-subsystem-version=${major},--minor-subsystem-version=${minor}
      -Wl,--disable-tsaware)
  endif()
endfunction()

# A GUI program that starts at our own entry point (app/program_start.cpp) instead of the C
# runtime's start-up code, with a linker map beside it. No pseudo-relocation can be left for
# the missing runtime to apply: the link fails instead.
function(tessara_own_entry target)
  if(WIN32)
    target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/app/program_start.cpp)
    target_link_options(${target} PRIVATE -nostartfiles -Wl,--entry=TessaraStart
                        -Wl,--disable-runtime-pseudo-reloc -Wl,--Map=$<TARGET_FILE:${target}>.map)
    # Unwind records that a runtime helper may bring go with the read-only data: a section of
    # their own would cost a file-alignment block.
    target_link_options(${target} PRIVATE -Wl,--Xlink=-merge:.eh_frame=.rdata)
  endif()
endfunction()
