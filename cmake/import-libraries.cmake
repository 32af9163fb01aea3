# Import libraries of the system DLLs in LLVM's short form, made from mingw-w64's (see
# scripts/import-library.py): lld leaves out of the import table every function that only
# discarded code called. A Windows program links them through tessara_windows_program.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(TESSARA_DLLTOOL NAMES llvm-dlltool-14 llvm-dlltool REQUIRED)
find_program(TESSARA_NM NAMES llvm-nm-14 llvm-nm REQUIRED)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(machine i386:x86-64)
else()
  set(machine i386)
endif()
set(TESSARA_IMPORT_DIR ${CMAKE_BINARY_DIR}/imports)
set(script ${CMAKE_SOURCE_DIR}/scripts/import-library.py)
set(libraries)
foreach(dll kernel32 user32 gdi32 advapi32 shell32 ole32 comctl32)
  set(library ${TESSARA_IMPORT_DIR}/lib${dll}.a)
  add_custom_command(
    OUTPUT ${library}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TESSARA_IMPORT_DIR}
    COMMAND Python3::Interpreter ${script} ${TESSARA_DLLTOOL} ${TESSARA_NM}
            ${CMAKE_SYSROOT}/lib/lib${dll}.a ${machine} ${dll}.dll ${library}
    DEPENDS ${script}
    COMMENT "Generating the import library of ${dll}.dll")
  list(APPEND libraries ${library})
endforeach()
add_custom_target(tessara_import_libraries DEPENDS ${libraries})
