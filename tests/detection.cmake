# Detection tests: DLLs of known file versions (and one without a version resource) that the
# file searches find under Wine.
if(WIN32)
  function(detect_versioned_dll name v1 v2 v3 v4)
    add_library(${name} SHARED ${CMAKE_CURRENT_SOURCE_DIR}/programs/detect/versioned.c
                               ${CMAKE_CURRENT_SOURCE_DIR}/programs/detect/versioned.rc)
    set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name}
                                             LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/detect
                                             RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/detect)
    target_compile_definitions(${name} PRIVATE DETECT_V1=${v1} DETECT_V2=${v2} DETECT_V3=${v3}
                                               DETECT_V4=${v4})
    target_link_options(${name} PRIVATE -static -s)
  endfunction()
  detect_versioned_dll(detect_v1_2_3_4 1 2 3 4)
  detect_versioned_dll(detect_v5_1_2600_0 5 1 2600 0)
  detect_versioned_dll(detect_v65535_0_7_65534 65535 0 7 65534)

  add_library(detect_unversioned SHARED ${CMAKE_CURRENT_SOURCE_DIR}/programs/detect/versioned.c)
  set_target_properties(detect_unversioned PROPERTIES PREFIX ""
                                                      RUNTIME_OUTPUT_DIRECTORY
                                                      ${CMAKE_BINARY_DIR}/detect)
  target_link_options(detect_unversioned PRIVATE -static -s)

  # The Windows unit tests find these files beside the build.
  if(TARGET win_tests)
    add_dependencies(win_tests detect_v1_2_3_4 detect_v5_1_2600_0 detect_v65535_0_7_65534
                     detect_unversioned)
    target_compile_definitions(win_tests PRIVATE
                               TESSARA_DETECT_FILES="${CMAKE_BINARY_DIR}/detect")
  endif()
endif()

# The same benchmark program for the host, run by tests/bench/config_load.sh.
if(NOT WIN32)
  add_executable(detect_bench_native ${CMAKE_CURRENT_SOURCE_DIR}/programs/detect_bench.cpp)
  target_link_libraries(detect_bench_native PRIVATE tessara_core)
  tessara_warnings(detect_bench_native)
endif()

# A decoy version.dll that the e2e test plants beside the probe.
if(WIN32)
  add_library(detect_decoy_version SHARED ${CMAKE_CURRENT_SOURCE_DIR}/programs/detect/decoy_version.c)
  set_target_properties(detect_decoy_version PROPERTIES PREFIX "" OUTPUT_NAME version
                                                        RUNTIME_OUTPUT_DIRECTORY
                                                        ${CMAKE_BINARY_DIR}/detect/decoy)
  target_link_options(detect_decoy_version PRIVATE -static -s -Wl,--kill-at)
endif()
if(TARGET detect_static_version)
  target_link_libraries(detect_static_version PRIVATE version)
endif()
