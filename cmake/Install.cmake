# Installed layout (GNU directories under CMAKE_INSTALL_PREFIX):
#
#   bin/tavrel, bin/tavrel-calc
#   lib/<multiarch triplet>/tavrel/CPW for Tavrel.so   the coplanar library,
#       found by the executables through their run path and by the loader's
#       own look into $ORIGIN/../lib/<triplet>/tavrel
#   lib/<multiarch triplet>/tavrel/tavrel-sweep.so     the sweep window and its
#       charts, loaded the same way at the window's first sweep
#   share/doc/tavrel/tavrel.html                       the help page
#   share/doc/tavrel/copyright                         the licence (Debian's machine-readable form)
#   share/man/man1/tavrel.1.gz, tavrel-calc.1.gz
#   share/applications/<app id>.desktop, share/metainfo/<app id>.metainfo.xml
#   share/icons/hicolor/{scalable,NxN}/apps/<app id>.{svg,png}
#
# The help page and the icons are also placed in the build tree, beside the
# executables, so that a build runs as the installed program does.
include(GNUInstallDirs)

# One reverse-DNS id names the menu entry, the AppStream component and the icon.
set(TAVREL_APP_ID "io.github.tavrel.Tavrel")

# A private folder of our own: the library has no soname and is not meant for
# other programs.  Without a multiarch triplet (not a Debian-like system) the
# folder is lib/tavrel.
if(CMAKE_LIBRARY_ARCHITECTURE)
  set(TAVREL_INSTALL_PRIVATE_LIBDIR "lib/${CMAKE_LIBRARY_ARCHITECTURE}/tavrel")
else()
  set(TAVREL_INSTALL_PRIVATE_LIBDIR "lib/tavrel")
endif()

include(${CMAKE_CURRENT_LIST_DIR}/Docs.cmake)

set(tavrel_installed_programs tavrel-calc)
if(TARGET tavrel)
  list(APPEND tavrel_installed_programs tavrel)
endif()
# Targets take their install run path when they are created; they exist
# already, so it is set on them here.
set_target_properties(${tavrel_installed_programs} PROPERTIES
  INSTALL_RPATH "$ORIGIN/../${TAVREL_INSTALL_PRIVATE_LIBDIR}")
install(TARGETS ${tavrel_installed_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set_target_properties(cpw_for_tavrel PROPERTIES INSTALL_RPATH "")
set(tavrel_private_libraries cpw_for_tavrel)
if(TARGET tavrel_sweep)
  set_target_properties(tavrel_sweep PROPERTIES INSTALL_RPATH "")
  list(APPEND tavrel_private_libraries tavrel_sweep)
endif()
install(TARGETS ${tavrel_private_libraries}
  LIBRARY DESTINATION ${TAVREL_INSTALL_PRIVATE_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}) # Windows: beside the executables

install(FILES ${TAVREL_HELP_PAGE} ${CMAKE_SOURCE_DIR}/packaging/copyright
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${TAVREL_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(TARGET tavrel)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/${TAVREL_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/${TAVREL_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/${TAVREL_APP_ID}.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size ${TAVREL_ICON_SIZES})
    install(FILES ${CMAKE_BINARY_DIR}/icons/${size}x${size}/${TAVREL_APP_ID}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
endif()

include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
