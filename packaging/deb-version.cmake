# SPDX-License-Identifier: GPL-3.0-or-later
# Read by CPack before it builds a package: the .deb's version is the project version with the
# Debian revision of the newest entry in changelog.Debian, which must be for that version.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
    return()
endif()

file(STRINGS "${CPACK_TALVERO_CHANGELOG}" _top LIMIT_COUNT 1)
if(NOT _top MATCHES "^talvero \\(([^ )]+)-([^- )]+)\\) ")
    message(FATAL_ERROR "${CPACK_TALVERO_CHANGELOG}: the first line is not "
                        "\"talvero (VERSION-REVISION) ...\": ${_top}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL CPACK_PACKAGE_VERSION)
    message(FATAL_ERROR "${CPACK_TALVERO_CHANGELOG} starts with ${CMAKE_MATCH_1}-${CMAKE_MATCH_2}, "
                        "but the project is at ${CPACK_PACKAGE_VERSION}: its newest entry must be "
                        "for ${CPACK_PACKAGE_VERSION} (the first one ${CPACK_PACKAGE_VERSION}-1)")
endif()
set(CPACK_DEBIAN_PACKAGE_RELEASE ${CMAKE_MATCH_2})
