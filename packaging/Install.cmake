# The install tree (cmake --install) and the Debian package (cpack, driven by scripts/package).
# Included from the top-level CMakeLists.txt when the program is built.

include(GNUInstallDirs)

set(VARST_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/varst)
set(VARST_MAINTAINER "The Varst developers <varst@varst.example.org>" CACHE STRING
    "Maintainer named in the Debian package and its changelog")
option(VARST_DEBIAN_LAYOUT "Install the copyright file and changelog a Debian package carries" OFF)

# The manual page goes in compressed, as Debian wants it; man reads it either way.
set(VARST_MAN_GZ ${CMAKE_CURRENT_BINARY_DIR}/packaging/varst.1.gz)
set(VARST_CHANGELOG_GZ ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.Debian.gz)
add_custom_command(
  OUTPUT ${VARST_MAN_GZ} ${VARST_CHANGELOG_GZ}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/packaging
  COMMAND gzip -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/packaging/varst.1 > ${VARST_MAN_GZ}
  COMMAND gzip -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/packaging/debian/changelog > ${VARST_CHANGELOG_GZ}
  DEPENDS packaging/varst.1 packaging/debian/changelog
  COMMENT "Compressing the manual page and the changelog"
  VERBATIM)
add_custom_target(varst_packaging_files ALL DEPENDS ${VARST_MAN_GZ} ${VARST_CHANGELOG_GZ})

install(TARGETS varst RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES packaging/org.varst.Varst.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/org.varst.Varst.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES packaging/org.varst.Varst.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${VARST_MAN_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES LICENSE README.md DESTINATION ${VARST_DOC_DIR})
if(VARST_DEBIAN_LAYOUT)
  install(FILES packaging/debian/copyright ${VARST_CHANGELOG_GZ} DESTINATION ${VARST_DOC_DIR})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varst)
set(CPACK_PACKAGE_VENDOR "The Varst developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for disk-drive performance test results")
set(CPACK_PACKAGE_DESCRIPTION "\
Varst overlays the transfer-rate or command-completion-time curves of one
or many result files of a disk-drive performance test tool in one chart.
Series can be ticked, smoothed, merged, recoloured and reordered, and the
chart is copied to the clipboard or saved as PNG, SVG or PDF. A file name
conversion tool copies result files to folders and names made of the
drive's model name and serial number.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VARST_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps; the Japanese interface texts need the CJK fonts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
include(CPack)
