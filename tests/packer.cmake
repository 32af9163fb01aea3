# The packer's unit tests (tests/packer/) call its library directly.
if(NOT WIN32)
  target_link_libraries(unit_tests PRIVATE tessara_pack_lib)
endif()

# The shipped language files: the packer's own
# check of each must find them complete (no error and no warning).
if(NOT WIN32)
  add_test(NAME shipped_languages.check
           COMMAND bash -c "files=(\"$1\"/languages/*.lang); out=$(\"$0\" check --language \"\${files[@]}\") || { echo \"$out\"; exit 1; }; echo \"$out\"; [ $(grep -c '^0 error(s), 0 warning(s)$' <<<\"$out\") -eq \${#files[@]} ]"
                   $<TARGET_FILE:tessara-pack> ${CMAKE_SOURCE_DIR})
endif()
