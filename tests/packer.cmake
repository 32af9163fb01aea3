# The packer's unit tests (tests/packer/) call its library directly.
if(NOT WIN32)
  target_link_libraries(unit_tests PRIVATE tessara_pack_lib)
endif()
