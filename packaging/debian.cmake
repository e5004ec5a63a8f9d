# The Debian package: cmake --build <build> --target package makes pixdraft_<version>_<arch>.deb
# of everything the install rules put under /usr, with the documents Debian asks of every
# package.

# /usr/share/doc/pixdraft: the copyright notice and the changelog, compressed as Debian wants
# them. The changelog's newest entry must be this version.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/changelog newest_entry LIMIT_COUNT 1)
if(NOT newest_entry MATCHES "^pixdraft \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog does not begin with an entry for ${PROJECT_VERSION}")
endif()
set(package_docs ${CMAKE_INSTALL_DATADIR}/doc/pixdraft)
add_custom_command(
  OUTPUT packaging/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/changelog packaging/changelog
  COMMAND gzip -9nf packaging/changelog
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog
  COMMENT "Compressing the changelog"
  VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${package_docs})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pixdraft)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Korvane)
set(CPACK_PACKAGE_CONTACT "Korvane <pixdraft@korvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "turn raster pictures into DXF drawings, one square per pixel")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
       "PixDraft loads one picture, fits it into a working raster of at most 256 by\n"
       "256 pixels and saves it as a DXF drawing beside the picture, in which every\n"
       "pixel becomes one filled unit square in the pixel's true colour. The package\n"
       "holds the PixDraft window and pixdraft-convert, which converts pictures from\n"
       "the command line.")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE http://www.korvane.example/)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# What the programs link to, from dpkg-shlibdeps; and Qt's image decoders beyond PNG, BMP, JPEG,
# GIF and ICO (TIFF, WebP and others), which Qt loads as plugins and nothing links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-image-formats-plugins)
# Qt's own texts (the open dialog, the buttons) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The install rules see /usr as their prefix (below a staging folder), so the menu entry names
# the templates' folder by its installed path.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
