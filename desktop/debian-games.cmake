# Run by CPack on the staged package trees before the Debian packages are
# made (one tree per component):
# - moves the launchers from usr/bin/ to usr/games/, where Debian keeps the
#   programs of games.  They find the game relative to their own place, and
#   games/ lies beside bin/, so they work unchanged;
# - takes the compilers' version notes (the .comment section) out of the
#   programs, as Debian's packaging does; CPack has stripped them already.
set(prefix "${CPACK_PACKAGING_INSTALL_PREFIX}")
file(GLOB trees LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*${prefix}")
list(APPEND trees "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${prefix}")
foreach(staged ${trees})
  if(EXISTS "${staged}/bin")
    file(MAKE_DIRECTORY "${staged}/games")
    file(GLOB launchers "${staged}/bin/*")
    foreach(launcher ${launchers})
      get_filename_component(name "${launcher}" NAME)
      file(RENAME "${launcher}" "${staged}/games/${name}")
    endforeach()
    file(REMOVE_RECURSE "${staged}/bin")
  endif()
  file(GLOB programs "${staged}/${CPACK_SWAPSTER_LIBEXEC_DIR}/*")
  foreach(program ${programs})
    execute_process(COMMAND "${CPACK_SWAPSTER_OBJCOPY}" --remove-section=.comment "${program}"
                    RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "could not take the .comment section out of ${program}")
    endif()
  endforeach()
endforeach()
