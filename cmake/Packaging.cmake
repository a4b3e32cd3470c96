# Install rules and the Debian package.
#
#   cmake --install <build> --prefix <dir>
#   cd <build> && cpack -G DEB        -> quorvane_<version>_<arch>.deb
#
# Installed: bin/quorvane, the English and French manual pages (compressed
# with gzip -9n when gzip is there, as Debian asks), and under
# share/doc/quorvane the copyright file, the changelog (likewise compressed),
# README.md and the example help set.

include(GNUInstallDirs)

# Directories made by the install step are world-readable whatever the umask,
# as a package's directories must be.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS quorvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Installs SOURCE (relative to the source tree) into DESTINATION compressed
# with gzip -9n as NAME.gz, or as it is when gzip is missing. -n leaves the
# name and time stamp out of the archive, so that the package's bytes do not
# depend on when it was built.
find_program(QUORVANE_GZIP gzip)
set(QV_GZIPPED)
function(qv_install_gzipped source destination name)
  if(NOT QUORVANE_GZIP)
    install(FILES ${source} DESTINATION ${destination} RENAME ${name})
    return()
  endif()
  set(copy ${CMAKE_BINARY_DIR}/gzipped/${destination}/${name})
  add_custom_command(OUTPUT ${copy}.gz
                     COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/${source} ${copy}
                     COMMAND ${QUORVANE_GZIP} -9nf ${copy}
                     DEPENDS ${PROJECT_SOURCE_DIR}/${source}
                     COMMENT "Compressing ${source}" VERBATIM)
  set(QV_GZIPPED ${QV_GZIPPED} ${copy}.gz PARENT_SCOPE)
  install(FILES ${copy}.gz DESTINATION ${destination})
endfunction()

# Manual pages: man/quorvane.1 is English, man/<language>/quorvane.1 a translation.
foreach(page man/quorvane.1 man/fr/quorvane.1)
  get_filename_component(folder ${page} DIRECTORY)
  string(REGEX REPLACE "^man/?" "" language "${folder}")
  if(language)
    set(destination ${CMAKE_INSTALL_MANDIR}/${language}/man1)
  else()
    set(destination ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
  qv_install_gzipped(${page} ${destination} quorvane.1)
endforeach()

# What Debian asks of every package's documentation folder: the copyright
# file (our licence and those of the libraries the binary loads) and, the
# version having no Debian revision, the changelog as changelog.gz.
install(FILES cmake/debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
qv_install_gzipped(cmake/debian/changelog ${CMAKE_INSTALL_DOCDIR} changelog)

if(QV_GZIPPED)
  add_custom_target(quorvane_gzipped ALL DEPENDS ${QV_GZIPPED})
endif()

install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The example as the repository holds it, without what a run of the tool or of
# the help compiler may have left beside it.
install(DIRECTORY examples/aide DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples
        PATTERN sommaire.html EXCLUDE
        PATTERN motscles.html EXCLUDE
        PATTERN index.html EXCLUDE
        PATTERN "*.html.xml" EXCLUDE)

set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "quorvane maintainers")
set(QUORVANE_PACKAGE_CONTACT "quorvane maintainers <maintainers@users.noreply.c-seed-925a3b9f.example>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${QUORVANE_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "HTML Help Workshop contents and index sources from HTML help pages")
set(CPACK_PACKAGE_DESCRIPTION
    "quorvane reads an XML list of HTML help pages and writes the project,
table of contents (.hhc) and keyword index (.hhk) that HTML Help Workshop or
chmcmd compile into a .chm help file. Headings of the pages become contents
entries and marked elements become index keywords. From HTML templates it
also writes contents and index pages for reading the help in a browser.")
set(CPACK_GENERATOR DEB)
# Binaries go into the package without their symbols.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
# Depends is read from the libraries the binary links to (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# chmcmd compiles what the tool writes.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS fp-utils)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git$" "/\\\\.git/" "/build/" "/node_modules/")

include(CPack)
