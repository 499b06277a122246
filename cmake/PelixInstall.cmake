# Installation and the Debian package. The programs go to bin/; the display
# control, the calculation library and the platform stand-ins are the
# program's own and go to a private folder that the programs' run path names
# (the player also looks there when it loads the control and the library by name).
include(GNUInstallDirs)

set(PELIX_PRIVATE_LIBDIR ${CMAKE_INSTALL_LIBDIR}/pelix-player)
# The programs look there by name too when they load the control and the library.
target_compile_definitions(PelixPlatform PRIVATE PELIX_PRIVATE_LIBRARY_FOLDER="../${PELIX_PRIVATE_LIBDIR}")
# The Qt-free binding of the calculation library's readings exports looks there too.
target_compile_definitions(pelix_evaluation PRIVATE PELIX_PRIVATE_LIBRARY_FOLDER="../${PELIX_PRIVATE_LIBDIR}")
set_target_properties(PelixPlayer pelix pelix-synth PROPERTIES INSTALL_RPATH "$ORIGIN/../${PELIX_PRIVATE_LIBDIR}")
set_target_properties(AscanView Pelix_Cal PelixPlatform PROPERTIES INSTALL_RPATH "$ORIGIN")
# The drawing half of `pelix` is no command of its own: `pelix` finds it at
# ../libexec/pelix/ from its own folder, so the two folders are fixed here.
if(NOT CMAKE_INSTALL_BINDIR STREQUAL "bin")
  message(FATAL_ERROR "pelix finds pelix-draw through bin/../libexec/pelix/: install the programs to bin/")
endif()
set(PELIX_DRAW_DIR libexec/pelix)
set_target_properties(pelix-draw PROPERTIES INSTALL_RPATH "$ORIGIN/../../${PELIX_PRIVATE_LIBDIR}")

install(TARGETS PelixPlayer pelix pelix-synth RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS pelix-draw RUNTIME DESTINATION ${PELIX_DRAW_DIR})
install(TARGETS AscanView Pelix_Cal PelixPlatform
        LIBRARY DESTINATION ${PELIX_PRIVATE_LIBDIR} NAMELINK_SKIP)

install(FILES packaging/pelix-player.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/pelix-player.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES packaging/pelix-player-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME pelix-player.xml)
# Manual pages go out compressed as Debian wants them; -n leaves the name and time
# out of the gzip header so that the same page always gives the same bytes.
find_program(PELIX_GZIP gzip REQUIRED)
set(pelix_man_pages)
foreach(page pelix.1 PelixPlayer.1 pelix-synth.1)
  set(copy ${CMAKE_BINARY_DIR}/man/${page})
  add_custom_command(OUTPUT ${copy}.gz
                     COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/packaging/${page} ${copy}
                     COMMAND ${PELIX_GZIP} -9nf ${copy}
                     DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${page}
                     VERBATIM)
  list(APPEND pelix_man_pages ${copy}.gz)
endforeach()
add_custom_target(pelix_man_pages ALL DEPENDS ${pelix_man_pages})
install(FILES ${pelix_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pelix-player)

set(CPACK_PACKAGE_NAME pelix-player)
set(CPACK_PACKAGE_VENDOR "Pelix Player developers")
set(CPACK_PACKAGE_CONTACT "Pelix Player developers <pelix-player@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Player for continuous ultrasonic A-scan recordings")
# Control file lines stay under 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Replays the continuous recordings (.BIN) of the Pelix portable ultrasonic\n\
flaw detector exactly as the instrument showed them: trace, gates, evaluation\n\
curves, setup panel and readings. Includes the pelix command-line tool (info,\n\
frame, render and more) and the pelix-synth recording generator.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Installed programs and libraries carry no symbol tables (the dynamic symbols the
# player looks up by name stay).
set(CPACK_STRIP_FILES ON)
# dpkg-shlibdeps must find the private libraries the programs link to.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${CMAKE_SOURCE_DIR}/packaging/postinst;${CMAKE_SOURCE_DIR}/packaging/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
