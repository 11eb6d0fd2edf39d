# Packages from the build, by `cpack` in the build folder: the Windows ZIP
# from the MinGW build, the Debian package from a native one.
set(CPACK_PACKAGE_NAME "coin-acceptor-tools")
set(CPACK_PACKAGE_VERSION "${DUCAT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Ducat Console and Pollbench, service tools for ccTalk coin acceptors")
set(CPACK_PACKAGE_CONTACT "Coin acceptor tools developers <tools@localhost>")
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
  configure_file(${PROJECT_SOURCE_DIR}/doc/technician_readme.txt ${PROJECT_BINARY_DIR}/README.txt
                 @ONLY NEWLINE_STYLE WIN32)
  install(FILES ${PROJECT_BINARY_DIR}/README.txt DESTINATION .)
  install(DIRECTORY DESTINATION "Export")
  install(DIRECTORY DESTINATION "Coins Stat")
elseif(NOT CMAKE_CROSSCOMPILING AND CAT_SANITIZE STREQUAL "")
  # The Linux consoles and the two virtual acceptors, each with a man page
  # made from its --help.
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(man_pages
    "ducat|Ducat Console on the command line"
    "pollbench|Pollbench, a ccTalk host for standard coin acceptors, on the command line"
    "ducat-sim|a virtual acceptor for Ducat Console on a pty"
    "standard-sim|a virtual standard ccTalk coin acceptor on a pty")
  set(man_files)
  foreach(entry ${man_pages})
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 program)
    list(GET entry 1 summary)
    set(page ${PROJECT_BINARY_DIR}/man/${program}.1.gz)
    add_custom_command(OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${program}> -DNAME=${program} "-DSUMMARY=${summary}"
              -DVERSION=${CPACK_PACKAGE_VERSION} -DOUT=${page} -P ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
      DEPENDS ${program} ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
      COMMENT "Man page of ${program}")
    list(APPEND man_files ${page})
    install(TARGETS ${program} RUNTIME DESTINATION bin)
  endforeach()
  add_custom_target(man_pages ALL DEPENDS ${man_files})
  install(FILES ${man_files} DESTINATION share/man/man1)
endif()

include(CPack)
