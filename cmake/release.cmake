# The release, installed by the host build: its tessara-pack, the stub and tessara-pack.exe of
# the Windows build (a separate cross build, TESSARA_WINDOWS_BUILD), and the documentation.
# "cpack" packs that content as a .tar.gz and a .zip.
include(GNUInstallDirs)

get_filename_component(tessara_builds ${CMAKE_BINARY_DIR} DIRECTORY)
set(TESSARA_WINDOWS_BUILD ${tessara_builds}/windows
    CACHE PATH "The Windows build whose tessara-stub.exe and tessara-pack.exe the install takes")

# The Windows build is checked when installing, not when configuring: the two builds may be
# configured in either order. Its outputs must exist and carry this build's version.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/check_windows_build.cmake @ONLY CONTENT [[
set(build "@TESSARA_WINDOWS_BUILD@")
set(hint "build the windows preset first (cmake --preset windows && cmake --build --preset windows) or set TESSARA_WINDOWS_BUILD")
foreach(file app/tessara-stub.exe packer/tessara-pack.exe)
  if(NOT EXISTS "${build}/${file}")
    message(FATAL_ERROR "The Windows build lacks ${build}/${file}: ${hint}")
  endif()
endforeach()
file(STRINGS "${build}/CMakeCache.txt" version REGEX "^CMAKE_PROJECT_VERSION:")
if(NOT version STREQUAL "CMAKE_PROJECT_VERSION:STATIC=@PROJECT_VERSION@")
  message(FATAL_ERROR "The Windows build in ${build} is not of version @PROJECT_VERSION@: ${hint}")
endif()
]])
install(SCRIPT ${CMAKE_BINARY_DIR}/check_windows_build.cmake)

install(TARGETS tessara-pack RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS ${TESSARA_WINDOWS_BUILD}/app/tessara-stub.exe
                 ${TESSARA_WINDOWS_BUILD}/packer/tessara-pack.exe
        DESTINATION ${CMAKE_INSTALL_BINDIR})

# The README keeps its links to docs/ and the pictures there.
set(tessara_docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/tessara)
install(FILES README.md DESTINATION ${tessara_docdir})
file(GLOB tessara_docs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/*.md ${CMAKE_SOURCE_DIR}/docs/*.png)
install(FILES ${tessara_docs} DESTINATION ${tessara_docdir}/docs)
file(GLOB tessara_language_shots CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/languages/*.png)
install(FILES ${tessara_language_shots} DESTINATION ${tessara_docdir}/docs/languages)

# The language files vendors give the packer (--language), ready as they are or to start from.
file(GLOB tessara_languages CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/languages/*.lang)
install(FILES ${tessara_languages} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/tessara/languages)

# tessara-1.0.0-linux-x86_64.tar.gz and .zip, each unpacking into a folder of that name.
string(TOLOWER "${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}" tessara_host)
set(CPACK_PACKAGE_NAME tessara)
set(CPACK_PACKAGE_FILE_NAME tessara-${PROJECT_VERSION}-${tessara_host})
set(CPACK_GENERATOR TGZ ZIP)
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_STRIP_FILES ON)
include(CPack)
