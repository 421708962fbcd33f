# install.cmake: puts the game where Linux games go. The game reads media/ from its working
# directory, so the program itself goes to a folder of its own and a launcher in bin starts it
# from the data directory, which holds the media. A package may move all three (Debian's puts
# the launcher in games and the data in share/games/moonstruck); each is relative to the prefix.
include(GNUInstallDirs)

set(MOONSTRUCK_BINDIR ${CMAKE_INSTALL_BINDIR} CACHE STRING "Where the launcher goes")
set(MOONSTRUCK_DATADIR ${CMAKE_INSTALL_DATADIR}/moonstruck CACHE STRING "Where the media go")
set(MOONSTRUCK_PROGRAMDIR ${CMAKE_INSTALL_LIBEXECDIR}/moonstruck CACHE STRING
    "Where the program goes")
set(MOONSTRUCK_ID org.moonstruck.moonstruck) # the desktop entry's and the metainfo's name

install(TARGETS moonstruck RUNTIME DESTINATION ${MOONSTRUCK_PROGRAMDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/media DESTINATION ${MOONSTRUCK_DATADIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/${MOONSTRUCK_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/${MOONSTRUCK_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 32 48 64 128)
  install(FILES ${PROJECT_SOURCE_DIR}/data/icons/moonstruck-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME moonstruck.png)
endforeach()

# the manual page names the folders the game is installed in
configure_file(${PROJECT_SOURCE_DIR}/data/moonstruck.6 ${PROJECT_BINARY_DIR}/man/moonstruck.6
               @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/man/moonstruck.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# the launcher finds the data and the program from its own folder, so the installed tree works
# under any prefix and wherever it is moved; the relative paths are put in as quoted words
foreach(dir DATADIR PROGRAMDIR)
  file(RELATIVE_PATH relative /prefix/${MOONSTRUCK_BINDIR} /prefix/${MOONSTRUCK_${dir}})
  string(REPLACE "'" "'\\''" relative "${relative}")
  set(MOONSTRUCK_${dir}_FROM_BIN "'${relative}'")
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/cmake/moonstruck.in ${PROJECT_BINARY_DIR}/launcher/moonstruck
               @ONLY)
install(PROGRAMS ${PROJECT_BINARY_DIR}/launcher/moonstruck DESTINATION ${MOONSTRUCK_BINDIR})
