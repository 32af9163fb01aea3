# Warnings are errors everywhere in our own code.
function(tessara_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wno-sign-conversion -Werror)
endfunction()

# Product code: no exceptions, no RTTI, small sections the linker can drop.
function(tessara_product_flags target)
  tessara_warnings(${target})
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti -ffunction-sections
                                           -fdata-sections)
  if(WIN32)
    target_compile_definitions(${target} PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501
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
