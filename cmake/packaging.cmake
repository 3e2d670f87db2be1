# Installation (binary, manual page, bash completion, user guide) and the Debian package built by CPack.
include(GNUInstallDirs)

install(TARGETS lumivanecmd RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Manual pages are installed compressed, as Debian ships them.
set(LUMIVANE_MANUAL_PAGE_GZ ${CMAKE_BINARY_DIR}/lumivanecmd.1.gz)
add_custom_command(OUTPUT ${LUMIVANE_MANUAL_PAGE_GZ}
  COMMAND sh -c "gzip -9 -n -c \"$0\" > \"$1\"" ${CMAKE_SOURCE_DIR}/docs/lumivanecmd.1 ${LUMIVANE_MANUAL_PAGE_GZ}
  DEPENDS ${CMAKE_SOURCE_DIR}/docs/lumivanecmd.1
  VERBATIM)
add_custom_target(lumivane_manual_page ALL DEPENDS ${LUMIVANE_MANUAL_PAGE_GZ})
install(FILES ${LUMIVANE_MANUAL_PAGE_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${CMAKE_SOURCE_DIR}/completion/lumivanecmd.bash
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME lumivanecmd)
install(FILES ${CMAKE_SOURCE_DIR}/docs/user-guide.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The home page is the one the program prints in its banner.
file(STRINGS ${CMAKE_SOURCE_DIR}/src/settings/product.h LUMIVANE_HOMEPAGE REGEX "kWebAddress = ")
string(REGEX REPLACE ".*\"(.*)\".*" "\\1" LUMIVANE_HOMEPAGE "${LUMIVANE_HOMEPAGE}")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumivane)
set(CPACK_PACKAGE_VENDOR Tarnwick)
set(CPACK_PACKAGE_CONTACT "Tarnwick <packages@tarnwick.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "console batch converter for camera RAW photos")
set(CPACK_PACKAGE_DESCRIPTION
  "lumivanecmd converts every camera RAW file of a file, folder or list file into one of 23 output formats, with optional resizing, rotation, colour edits, a frame and a text or picture watermark.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${LUMIVANE_HOMEPAGE}")
# Depends: the Debian packages that own the shared libraries the program is linked with (libfreeimage3, libraw20,
# libdevil1c2, libcairo2, libpango-1.0-0, libpangocairo-1.0-0, libjxr0, ...), asked of dpkg here because the
# linker drops libraries the program does not call yet; dpkg-shlibdeps adds the versions the binary needs (libc6,
# libstdc++6, ...). The fonts are read at run time.
set(LUMIVANE_DEPENDS fonts-liberation fonts-dejavu-core)
foreach(library ${FREEIMAGE_LIBRARY} ${LIBRAW_LIBRARY} ${DEVIL_LINK_LIBRARIES} ${DRAWING_LINK_LIBRARIES} ${JXR_LINK_LIBRARIES})
  get_filename_component(library_file ${library} REALPATH)
  execute_process(COMMAND dpkg -S ${library_file} OUTPUT_VARIABLE owner RESULT_VARIABLE not_found ERROR_QUIET)
  if(not_found)
    message(WARNING "no Debian package owns ${library_file}; the package will not depend on it")
  else()
    string(REGEX REPLACE ":.*" "" owner "${owner}")  # "libcairo2:amd64: /usr/lib/..." -> "libcairo2"
    list(APPEND LUMIVANE_DEPENDS ${owner})
  endif()
endforeach()
list(REMOVE_DUPLICATES LUMIVANE_DEPENDS)
list(JOIN LUMIVANE_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")
include(CPack)
