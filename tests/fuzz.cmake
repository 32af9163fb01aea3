# Fuzz targets of the parsers that read what a stranger can write: the archive, the
# configuration, versions, search strings, download names, a resuming server's answers, the
# setup's command line, the stub the packer prepares, and languages (a setup's language table and
# a vendor's language file).
# In the host build each target is linked with a replay driver and runs its seed corpus as a
# test; with TESSARA_FUZZ (clang, see tests/fuzz/run.sh) each is a libFuzzer program.
option(TESSARA_FUZZ "Build the fuzz targets as libFuzzer programs" OFF)

if(NOT WIN32)
  set(fuzz_dir ${CMAKE_CURRENT_SOURCE_DIR}/fuzz)
  set(fuzz_targets archive profile version search_string url_name download_resume config_check
                   command_line stub language)
  foreach(target ${fuzz_targets})
    set(sources ${fuzz_dir}/fuzz_${target}.cpp ${fuzz_dir}/fuzz_support.cpp)
    if(TESSARA_FUZZ)
      add_executable(fuzz_${target} ${sources})
      target_link_options(fuzz_${target} PRIVATE -fsanitize=fuzzer)
    else()
      add_executable(fuzz_${target} ${sources} ${fuzz_dir}/replay_main.cpp)
      add_test(NAME fuzz_corpus_${target} COMMAND fuzz_${target} ${fuzz_dir}/corpus/${target})
    endif()
    target_link_libraries(fuzz_${target} PRIVATE tessara_core)
    tessara_warnings(fuzz_${target})
  endforeach()
  target_link_libraries(fuzz_config_check PRIVATE tessara_pack_lib)
  target_link_libraries(fuzz_stub PRIVATE tessara_pack_lib)
  target_link_libraries(fuzz_language PRIVATE tessara_pack_lib)
endif()
