# Run by CPack on the staged package tree before the Debian package is made:
# moves the launchers from usr/bin/ to usr/games/, where Debian keeps the
# programs of games.  They find the game relative to their own place, and
# games/ lies beside bin/, so they work unchanged.
set(staged "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(EXISTS "${staged}/bin")
  file(MAKE_DIRECTORY "${staged}/games")
  file(GLOB launchers "${staged}/bin/*")
  foreach(launcher ${launchers})
    get_filename_component(name "${launcher}" NAME)
    file(RENAME "${launcher}" "${staged}/games/${name}")
  endforeach()
  file(REMOVE_RECURSE "${staged}/bin")
endif()
