# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The documents a Debian package carries, made at build time:
#   share/man/man1/*.1.gz         the manual pages, from the scdoc sources in docs/man
#   share/doc/tiltophon/changelog.gz   packaging/changelog, in Debian's format
#   share/doc/tiltophon/copyright      packaging/copyright, machine-readable (DEP-5)
# and the releases of the AppStream metadata, taken from the same changelog, so the
# version and date of a release are written in one place.

set(TILTOPHON_CHANGELOG ${PROJECT_SOURCE_DIR}/packaging/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TILTOPHON_CHANGELOG})
find_program(TILTOPHON_PARSECHANGELOG dpkg-parsechangelog REQUIRED)
find_program(TILTOPHON_SCDOC scdoc REQUIRED)
find_program(TILTOPHON_GZIP gzip REQUIRED)

# Every entry of the changelog, newest first: "version timestamp" pairs.
execute_process(
  COMMAND ${TILTOPHON_PARSECHANGELOG} -l ${TILTOPHON_CHANGELOG} --all --format rfc822
  OUTPUT_VARIABLE changelog_entries COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "Version: [^\n]+\n|Timestamp: [0-9]+" changelog_fields "${changelog_entries}")
set(TILTOPHON_RELEASES "")
set(release_version "")
foreach(field IN LISTS changelog_fields)
  if(field MATCHES "^Version: ([^\n]+)")
    set(release_version ${CMAKE_MATCH_1})
  elseif(field MATCHES "^Timestamp: ([0-9]+)")
    if(NOT TILTOPHON_RELEASE_EPOCH)
      set(TILTOPHON_RELEASE_EPOCH ${CMAKE_MATCH_1})
      if(NOT release_version STREQUAL PROJECT_VERSION)
        message(FATAL_ERROR "packaging/changelog begins with ${release_version}, but the project "
          "is ${PROJECT_VERSION}: add an entry for this version")
      endif()
    endif()
    execute_process(COMMAND date -u -d @${CMAKE_MATCH_1} +%Y-%m-%d
      OUTPUT_VARIABLE release_date OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    string(APPEND TILTOPHON_RELEASES
      "    <release version=\"${release_version}\" date=\"${release_date}\"/>\n")
  endif()
endforeach()
string(STRIP "${TILTOPHON_RELEASES}" TILTOPHON_RELEASES)

set(TILTOPHON_DOC_DIR ${CMAKE_BINARY_DIR}/share/doc/tiltophon)
set(TILTOPHON_MAN_DIR ${CMAKE_BINARY_DIR}/share/man/man1)
file(MAKE_DIRECTORY ${TILTOPHON_DOC_DIR} ${TILTOPHON_MAN_DIR})

# gzip -n leaves out the name and time, so the package is the same at every build.
add_custom_command(OUTPUT ${TILTOPHON_DOC_DIR}/changelog.gz
  COMMAND sh -c "${TILTOPHON_GZIP} -9n < '${TILTOPHON_CHANGELOG}' > changelog.gz"
  WORKING_DIRECTORY ${TILTOPHON_DOC_DIR}
  DEPENDS ${TILTOPHON_CHANGELOG} VERBATIM)

# A page for each command on the PATH; tiltophon-sensor's only with the command.
# scdoc dates each page by SOURCE_DATE_EPOCH: the release's date, not the build's.
set(TILTOPHON_MANUALS tiltophon tiltophon-swing)
if(TARGET tiltophon-sensor)
  list(APPEND TILTOPHON_MANUALS tiltophon-sensor)
endif()
set(TILTOPHON_MANUAL_PAGES "")
foreach(command IN LISTS TILTOPHON_MANUALS)
  set(source ${PROJECT_SOURCE_DIR}/docs/man/${command}.1.scd)
  set(page ${TILTOPHON_MAN_DIR}/${command}.1.gz)
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${TILTOPHON_RELEASE_EPOCH}
      sh -c "${TILTOPHON_SCDOC} < '${source}' > ${command}.1 && ${TILTOPHON_GZIP} -9nf ${command}.1"
    WORKING_DIRECTORY ${TILTOPHON_MAN_DIR}
    DEPENDS ${source} VERBATIM)
  list(APPEND TILTOPHON_MANUAL_PAGES ${page})
endforeach()
add_custom_target(tiltophon-docs ALL DEPENDS ${TILTOPHON_MANUAL_PAGES} ${TILTOPHON_DOC_DIR}/changelog.gz)

install(FILES ${TILTOPHON_MANUAL_PAGES} DESTINATION share/man/man1)
install(FILES ${TILTOPHON_DOC_DIR}/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
  DESTINATION share/doc/tiltophon)

if(TILTOPHON_BUILD_TESTS)
  # The pages render without a warning from man or groff.
  add_test(NAME manual_pages
    COMMAND sh ${PROJECT_SOURCE_DIR}/tests/man/render-pages.sh ${TILTOPHON_MANUAL_PAGES})
  set_tests_properties(manual_pages PROPERTIES LABELS unit TIMEOUT 60)
endif()
