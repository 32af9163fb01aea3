# Decoy DLLs for the planting test, each named after a DLL the setup uses, and a control
# program that imports version.dll the way the setup must not.
if(WIN32)
  foreach(name version wininet riched32)
    add_library(decoy_${name} SHARED ${CMAKE_CURRENT_SOURCE_DIR}/programs/decoy/decoy_dll.cpp)
    set_target_properties(decoy_${name} PROPERTIES OUTPUT_NAME ${name} PREFIX ""
                          RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/decoys)
    target_compile_definitions(decoy_${name} PRIVATE DECOY_NAME="${name}")
    target_link_options(decoy_${name} PRIVATE -static -Wl,--kill-at)
  endforeach()
  target_compile_definitions(decoy_version PRIVATE DECOY_VERSION)
  add_executable(decoy_control ${CMAKE_CURRENT_SOURCE_DIR}/programs/decoy/static_version_import.cpp)
  target_link_libraries(decoy_control PRIVATE version)
  tessara_windows_program(decoy_control)
endif()
