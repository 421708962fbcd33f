# install.cmake: puts the game where Linux games go. The game reads media/ from its working
# directory, so the program itself goes to libexec and a launcher in bin starts it from the data
# directory, which holds the media.
include(GNUInstallDirs)

install(TARGETS moonstruck RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/moonstruck)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/media DESTINATION ${CMAKE_INSTALL_DATADIR}/moonstruck)
install(FILES ${PROJECT_SOURCE_DIR}/data/moonstruck.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/moonstruck.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
foreach(size 32 48 64 128)
  install(FILES ${PROJECT_SOURCE_DIR}/data/icons/moonstruck-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME moonstruck.png)
endforeach()

# The launcher is written when installing, so that its paths follow the prefix given then
# (cmake --install --prefix) as well as the configured one.
install(CODE "
  set(MOONSTRUCK_LAUNCHER_IN \"${PROJECT_SOURCE_DIR}/cmake/moonstruck.in\")
  set(MOONSTRUCK_LAUNCHER \"${PROJECT_BINARY_DIR}/launcher/moonstruck\")
  set(MOONSTRUCK_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
  set(MOONSTRUCK_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
  set(MOONSTRUCK_LIBEXECDIR \"${CMAKE_INSTALL_LIBEXECDIR}\")
")
install(CODE [[
  foreach(dir BINDIR DATADIR LIBEXECDIR)
    get_filename_component(CMAKE_INSTALL_FULL_${dir} "${MOONSTRUCK_${dir}}" ABSOLUTE
                           BASE_DIR "${CMAKE_INSTALL_PREFIX}")
  endforeach()
  configure_file("${MOONSTRUCK_LAUNCHER_IN}" "${MOONSTRUCK_LAUNCHER}" @ONLY)
  file(INSTALL "${MOONSTRUCK_LAUNCHER}" DESTINATION "${CMAKE_INSTALL_FULL_BINDIR}"
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                        WORLD_READ WORLD_EXECUTE)
]])
