# The Debian package: `cpack -G DEB` in the build folder writes
# lumatrim_<version>_amd64.deb with both programs, the menu entry, icon,
# AppStream description, manual pages, copyright and changelog.
if(NOT LUMATRIM_UI)
  return()
endif()

# Manual pages and the changelog go in compressed, without a time stamp, so
# the package is the same whenever it is built.
set(packageData ${CMAKE_BINARY_DIR}/package-data)
set(compressedFiles)
foreach(source man/lumatrim.1 man/lumatrim-cli.1 debian/changelog)
  get_filename_component(name ${source} NAME)
  set(compressed ${packageData}/${name}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${packageData}
    COMMAND sh -c "gzip -9 -n -c \"$1\" > \"$2\"" gzip ${PROJECT_SOURCE_DIR}/data/${source} ${compressed}
    DEPENDS ${PROJECT_SOURCE_DIR}/data/${source} VERBATIM)
  list(APPEND compressedFiles ${compressed})
endforeach()
add_custom_target(lumatrim_package_data ALL DEPENDS ${compressedFiles})

install(FILES ${packageData}/lumatrim.1.gz ${packageData}/lumatrim-cli.1.gz DESTINATION share/man/man1)
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright ${packageData}/changelog.gz
        DESTINATION share/doc/lumatrim)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumatrim)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Lumatrim developers <vyvoj@lumatrim.cz>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://lumatrim.cz/)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "prepare camera photos for sharing
Lumatrim shows a folder's JPEG photos with an EXIF summary, turns them by
90 degrees without loss and optimises them in one batch for sharing:
resized, re-encoded as progressive JPEG, with EXIF, IPTC and comment kept.
A detail window shows every EXIF tag, the maker notes, the thumbnail and
the editable IPTC items. The interface is in Czech; lumatrim-cli does the
same from a shell.")
# The libraries the programs link come from dpkg-shlibdeps (dpkg-dev); what
# they only open at run time is named here: Qt's own Czech texts and the
# font with every Czech diacritic at 8 pt.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-dejavu-core")
include(CPack)
