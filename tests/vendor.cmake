# The probe of a packed setup's icon and version strings reads them through version.dll, as
# Explorer does.
if(TARGET resource_probe)
  target_link_libraries(resource_probe PRIVATE version gdi32 shell32)
endif()
