# Installation and the Debian package. The programs go to bin/; the display
# control, the calculation library and the platform stand-ins are the
# program's own and go to a private folder that the programs' run path names
# (the player also looks there when it loads the control and the library by name).
include(GNUInstallDirs)

set(PELIX_PRIVATE_LIBDIR ${CMAKE_INSTALL_LIBDIR}/pelix-player)
# The programs look there by name too when they load the control and the library.
target_compile_definitions(PelixPlatform PRIVATE PELIX_PRIVATE_LIBRARY_FOLDER="../${PELIX_PRIVATE_LIBDIR}")
set_target_properties(PelixPlayer pelix pelix-synth PROPERTIES INSTALL_RPATH "$ORIGIN/../${PELIX_PRIVATE_LIBDIR}")
set_target_properties(AscanView Pelix_Cal PelixPlatform PROPERTIES INSTALL_RPATH "$ORIGIN")

install(TARGETS PelixPlayer pelix pelix-synth RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS AscanView Pelix_Cal PelixPlatform
        LIBRARY DESTINATION ${PELIX_PRIVATE_LIBDIR} NAMELINK_SKIP)

install(FILES packaging/pelix-player.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/pelix-player.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES packaging/pelix-player-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME pelix-player.xml)
install(FILES packaging/pelix.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pelix-player)

set(CPACK_PACKAGE_NAME pelix-player)
set(CPACK_PACKAGE_VENDOR "Pelix Player developers")
set(CPACK_PACKAGE_CONTACT "Pelix Player developers <pelix-player@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Player for continuous ultrasonic A-scan recordings")
set(CPACK_PACKAGE_DESCRIPTION
    "Replays the continuous recordings (.BIN) of the Pelix portable ultrasonic flaw detector exactly as the instrument showed them: trace, gates, evaluation curves, setup panel and readings. Includes the pelix command-line tool (info, frame, render and more) and the pelix-synth recording generator.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps must find the private libraries the programs link to.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${CMAKE_SOURCE_DIR}/packaging/postinst;${CMAKE_SOURCE_DIR}/packaging/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
