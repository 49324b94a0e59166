# The Debian package a technician installs (scripts/package runs cpack on a release
# build): what `cmake --install` puts in place, under /usr and stripped, with the
# copyright, changelog and manual page a package carries. Depends: the packages of the shared
# libraries the program links, as dpkg-shlibdeps finds them, and what it needs only
# at run time: the fonts that stand in for the Windows faces (platform/qt/FontTable),
# Qt's own Czech texts, and xdg-open for the exported workbook.
set(ZEKO_RUNTIME_PACKAGES fonts-liberation2 fonts-dejavu-core fonts-dejavu-extra qt6-translations-l10n xdg-utils)
set(ZEKO_PACKAGE_MAINTAINER "ZEKO developers <zeko@example.org>" CACHE STRING "The Maintainer field of the package")

# A beta sorts before its release in Debian's order only with a tilde: 0.90~beta14.
string(REPLACE "beta" "~beta" ZEKO_DEB_VERSION "${ZEKO_PROGRAM_VERSION}")
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE ZEKO_DEB_ARCH
                OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT ZEKO_DEB_ARCH)
  set(ZEKO_DEB_ARCH amd64)
endif()

# The documents of a package: a changelog in Debian's format (this is a native
# package: no separate upstream) and the manual page, compressed as the policy
# wants, and the copyright.
set(doc_dir ${CMAKE_BINARY_DIR}/package-doc)
string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${doc_dir}/changelog
  "zeko (${ZEKO_DEB_VERSION}) unstable; urgency=medium\n\n"
  "  * Version ${ZEKO_PROGRAM_VERSION}.\n\n"
  " -- ${ZEKO_PACKAGE_MAINTAINER}  ${changelog_date}\n")
configure_file(${PROJECT_SOURCE_DIR}/app/zeko.1 ${doc_dir}/zeko.1 COPYONLY)
add_custom_command(OUTPUT ${doc_dir}/changelog.gz ${doc_dir}/zeko.1.gz
  COMMAND gzip -9nkf ${doc_dir}/changelog ${doc_dir}/zeko.1
  DEPENDS ${doc_dir}/changelog ${doc_dir}/zeko.1
  COMMENT "Compressing the package's changelog and manual page")
add_custom_target(zeko_package_doc ALL DEPENDS ${doc_dir}/changelog.gz ${doc_dir}/zeko.1.gz)
install(FILES ${doc_dir}/changelog.gz ${PROJECT_SOURCE_DIR}/cmake/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zeko)
install(FILES ${doc_dir}/zeko.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# cpack installs what the build holds; it must not build everything first (the
# tests, the benchmarks), only scripts/package's targets are needed.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zeko)
set(CPACK_PACKAGE_VERSION ${ZEKO_DEB_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "program for a reactive-power compensation regulator")
# The synopsis is the summary; this is the extended description under it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "ZEKO talks to a power factor regulator over its serial bus: it shows the\n"
  "live values, downloads the record memory into monthly record files,\n"
  "evaluates them into day, month and year tables with a day graph, prints\n"
  "and exports the tables, and edits the regulator's settings and clock and\n"
  "the tariff and shift schedules. The user interface is in Czech.")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZEKO_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${ZEKO_DEB_ARCH})
set(CPACK_DEBIAN_FILE_NAME zeko_${ZEKO_DEB_VERSION}_${ZEKO_DEB_ARCH}.deb)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
string(REPLACE ";" ", " CPACK_DEBIAN_PACKAGE_DEPENDS "${ZEKO_RUNTIME_PACKAGES}")
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
