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
    # No specialised copies of functions per call site: in a program held to a size budget they
    # cost more than they save (3 KB of the stub).
    target_compile_options(${target} PRIVATE -fno-ipa-sra -fno-ipa-cp-clone -fno-partial-inlining)
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
  endif()
endfunction()
