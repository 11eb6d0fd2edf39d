# Packages from the build, by `cpack` in the build folder: the Windows ZIP
# from the MinGW build, the Debian package from a native one.
set(CPACK_PACKAGE_NAME "coin-acceptor-tools")
set(CPACK_PACKAGE_VERSION "${DUCAT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Ducat Console and Pollbench, service tools for ccTalk coin acceptors")
# The contact's address must have a domain (lintian refuses localhost).
set(CPACK_PACKAGE_CONTACT "Coin acceptor tools developers <tools@coin-acceptor-tools.example>")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  # Everything in one folder: the windows, a short README, the folders the
  # programs expect. The consoles go in console\: pollbench.exe and
  # Pollbench.exe are one name to Windows.
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-windows")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  install(TARGETS ducat_console Pollbench RUNTIME DESTINATION .)
  install(TARGETS ducat pollbench RUNTIME DESTINATION console)
  # Notepad of any Windows reads UTF-8 only with a byte order mark (without
  # one, older ones take the Russian lines as code page 1251), and wants CRLF.
  set(readme_source ${PROJECT_SOURCE_DIR}/doc/technician_readme.txt)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${readme_source})
  file(READ ${readme_source} readme)
  string(ASCII 239 187 191 utf8_bom)
  file(WRITE ${PROJECT_BINARY_DIR}/README.bom.txt "${utf8_bom}${readme}")
  configure_file(${PROJECT_BINARY_DIR}/README.bom.txt ${PROJECT_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE WIN32)
  install(FILES ${PROJECT_BINARY_DIR}/README.txt DESTINATION .)
  install(DIRECTORY DESTINATION "Export")
  install(DIRECTORY DESTINATION "Coins Stat")
elseif(NOT CMAKE_CROSSCOMPILING AND CAT_SANITIZE STREQUAL "")
  # The Linux consoles and the two virtual acceptors, each with its man page
  # (doc/man), and the documents Debian asks of every package.
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Debian revision 1 of the programs' version: the package is not native to
  # Debian, so its changelog is changelog.Debian.gz.
  set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
  string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "ducat is the service console of one family of coin acceptors on the\n"
      "command line: it identifies the acceptor, reads its coin table, monitors\n"
      "coins live, writes coin descriptions, dividers and acceptance parameters\n"
      "and exports the acceptor's log. pollbench is a small ccTalk host for any\n"
      "standard coin acceptor: port search, identification, polling, teaching\n"
      "and a bus scan. ducat-sim and standard-sim are virtual acceptors on a pty\n"
      "for trying both without a device.")
  set(man_files)
  file(GLOB fragments ${PROJECT_SOURCE_DIR}/doc/man/*.roff)
  foreach(program ducat pollbench ducat-sim standard-sim)
    set(source ${PROJECT_SOURCE_DIR}/doc/man/${program}.1.in)
    set(page ${PROJECT_BINARY_DIR}/man/${program}.1.gz)
    add_custom_command(OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND} -DSOURCE=${source} -DVERSION=${CPACK_PACKAGE_VERSION}
              -DPOLLBENCH_VERSION=${POLLBENCH_VERSION} -DOUT=${page} -P ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
      DEPENDS ${source} ${fragments} ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
      COMMENT "Man page of ${program}")
    list(APPEND man_files ${page})
    install(TARGETS ${program} RUNTIME DESTINATION bin)
  endforeach()
  add_custom_target(man_pages ALL DEPENDS ${man_files})
  install(FILES ${man_files} DESTINATION share/man/man1)
  # /usr/share/doc/<package>: the copyright, and the changelog compressed
  # as Debian wants it (gzip -9, without name or time stamp).
  set(changelog ${PROJECT_BINARY_DIR}/debian/changelog.Debian)
  configure_file(${PROJECT_SOURCE_DIR}/doc/debian/changelog.in ${changelog} @ONLY)
  add_custom_command(OUTPUT ${changelog}.gz
    COMMAND gzip -9nkf ${changelog}
    DEPENDS ${changelog}
    COMMENT "changelog.Debian.gz")
  add_custom_target(debian_changelog ALL DEPENDS ${changelog}.gz)
  install(FILES ${PROJECT_SOURCE_DIR}/doc/debian/copyright ${changelog}.gz
          DESTINATION share/doc/${CPACK_PACKAGE_NAME})
endif()

include(CPack)
