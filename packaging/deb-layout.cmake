# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack on the installed tree before it packs the .deb: the layout Debian's policy asks of
# a game, and the documents every Debian package carries. A plain `cmake --install` keeps the
# program in bin/, where a desktop finds it in ~/.local or /usr/local.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
    return()
endif()

set(_usr "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")

# Games go to /usr/games.
file(MAKE_DIRECTORY "${_usr}/games")
file(RENAME "${_usr}/bin/talvero" "${_usr}/games/talvero")
file(GLOB _left "${_usr}/bin/*")
if(_left)
    message(FATAL_ERROR "deb-layout.cmake: more programs than talvero in bin/: ${_left}")
endif()
file(REMOVE_RECURSE "${_usr}/bin")

# CPack strips only the symbols; Debian also drops the compilers' notes.
execute_process(
    COMMAND "${CPACK_TALVERO_STRIP}" --remove-section=.comment --remove-section=.note
            "${_usr}/games/talvero"
    COMMAND_ERROR_IS_FATAL ANY)

file(COPY ${CPACK_TALVERO_DEB_DOCS} DESTINATION "${_usr}/share/doc/talvero"
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

file(MAKE_DIRECTORY "${_usr}/share/lintian/overrides")
file(COPY_FILE "${CPACK_TALVERO_LINTIAN_OVERRIDES}" "${_usr}/share/lintian/overrides/talvero")
file(CHMOD "${_usr}/share/lintian/overrides/talvero"
     PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
