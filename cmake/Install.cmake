# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The install tree and the Debian package.
#
# cmake --install BUILD --prefix P gives
#   P/lib/tiltophon/     the program folder: tiltophon, libHTCSensorSDK.so, Skin/, Sounds/,
#                        Defaults.reg and the program's pictures, as in the build tree
#   P/bin/tiltophon      a link to the program; P/bin/tiltophon-swing, P/bin/tiltophon-sensor
#   P/lib/udev/rules.d/70-tiltophon-accelerometer.rules, which lets the user at the seat
#                        read accelerometer input devices (game controllers' motion sensors)
#   P/share/applications/org.tiltophon.Tiltophon.desktop, the launcher icon under
#   P/share/icons/hicolor/ and P/share/metainfo/org.tiltophon.Tiltophon.metainfo.xml,
#   the last two translated from po/
#   P/share/locale/LL/LC_MESSAGES/tiltophon.mo, the captions in each language of po/LINGUAS
# (the sensor library and tiltophon-swing install from their own folders).
#
# cpack -G DEB in a build folder makes the package of that build.

set(TILTOPHON_APP_ID org.tiltophon.Tiltophon)
set(TILTOPHON_INSTALL_DIR lib/tiltophon)

install(TARGETS tiltophon RUNTIME DESTINATION ${TILTOPHON_INSTALL_DIR})
# Generated at build time by the skin and sound generators.
install(DIRECTORY ${TILTOPHON_PROGRAM_DIR}/Skin ${TILTOPHON_PROGRAM_DIR}/Sounds
  DESTINATION ${TILTOPHON_INSTALL_DIR})
# The program's own pictures with words in them, drawn once more in each language.
foreach(language IN LISTS TILTOPHON_LANGUAGES)
  install(DIRECTORY ${TILTOPHON_PROGRAM_DIR}/${language} DESTINATION ${TILTOPHON_INSTALL_DIR})
endforeach()
install(FILES
  ${TILTOPHON_PROGRAM_DIR}/tiltophon.png ${TILTOPHON_PROGRAM_DIR}/splash.png
  ${TILTOPHON_PROGRAM_DIR}/about.png ${TILTOPHON_PROGRAM_DIR}/donate-up.png
  ${TILTOPHON_PROGRAM_DIR}/donate-down.png ${TILTOPHON_PROGRAM_DIR}/record-up.png
  ${TILTOPHON_PROGRAM_DIR}/record-down.png ${TILTOPHON_PROGRAM_DIR}/record-on.png
  ${TILTOPHON_PROGRAM_DIR}/record-mask.png ${TILTOPHON_PROGRAM_DIR}/Defaults.reg
  DESTINATION ${TILTOPHON_INSTALL_DIR})
# The program finds its folder through its own path with links resolved, so the
# command on the PATH can be a link.
install(CODE "
  set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
  file(MAKE_DIRECTORY \"\${bin}\")
  file(REMOVE \"\${bin}/tiltophon\")
  file(CREATE_LINK ../${TILTOPHON_INSTALL_DIR}/tiltophon \"\${bin}/tiltophon\" SYMBOLIC)
")

install(FILES ${PROJECT_SOURCE_DIR}/packaging/70-tiltophon-accelerometer.rules
  DESTINATION lib/udev/rules.d)
# The desktop entry and the metadata carry the catalogues' languages.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/share/applications/${TILTOPHON_APP_ID}.desktop
  COMMAND ${TILTOPHON_MSGFMT} --desktop -d ${PROJECT_SOURCE_DIR}/po
    --template ${PROJECT_SOURCE_DIR}/packaging/${TILTOPHON_APP_ID}.desktop
    -o ${CMAKE_BINARY_DIR}/share/applications/${TILTOPHON_APP_ID}.desktop
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${TILTOPHON_APP_ID}.desktop
    ${PROJECT_SOURCE_DIR}/po/LINGUAS ${TILTOPHON_CATALOGUE_SOURCES}
  COMMENT "Translating the desktop entry" VERBATIM)
install(FILES ${CMAKE_BINARY_DIR}/share/applications/${TILTOPHON_APP_ID}.desktop
  DESTINATION share/applications)
install(FILES ${CMAKE_BINARY_DIR}/share/icons/hicolor/256x256/apps/tiltophon.png
  DESTINATION share/icons/hicolor/256x256/apps)
# The manual pages, changelog and copyright; the releases for the metadata.
include(${CMAKE_CURRENT_LIST_DIR}/PackageDocs.cmake)
configure_file(${PROJECT_SOURCE_DIR}/packaging/${TILTOPHON_APP_ID}.metainfo.xml.in
  ${CMAKE_BINARY_DIR}/po/${TILTOPHON_APP_ID}.metainfo.xml @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/share/metainfo/${TILTOPHON_APP_ID}.metainfo.xml
  COMMAND ${TILTOPHON_MSGFMT} --xml -d ${PROJECT_SOURCE_DIR}/po
    --template ${CMAKE_BINARY_DIR}/po/${TILTOPHON_APP_ID}.metainfo.xml
    -o ${CMAKE_BINARY_DIR}/share/metainfo/${TILTOPHON_APP_ID}.metainfo.xml
  DEPENDS ${CMAKE_BINARY_DIR}/po/${TILTOPHON_APP_ID}.metainfo.xml
    ${PROJECT_SOURCE_DIR}/po/LINGUAS ${TILTOPHON_CATALOGUE_SOURCES}
  COMMENT "Translating the metadata" VERBATIM)
add_custom_target(tiltophon-translated-metadata ALL DEPENDS
  ${CMAKE_BINARY_DIR}/share/applications/${TILTOPHON_APP_ID}.desktop
  ${CMAKE_BINARY_DIR}/share/metainfo/${TILTOPHON_APP_ID}.metainfo.xml)
install(FILES ${CMAKE_BINARY_DIR}/share/metainfo/${TILTOPHON_APP_ID}.metainfo.xml
  DESTINATION share/metainfo)

set(CPACK_PACKAGE_NAME tiltophon)
set(CPACK_PACKAGE_VENDOR "The Tiltophon developers")
set(CPACK_PACKAGE_CONTACT "The Tiltophon developers <hello@tiltophon.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "motion-triggered sound board")
# Debian shows each line of the description as it stands: at most 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
  "Give each of five slots a sound; a swing of the device forward, back, left,
right or along its vertical axis plays the sound of the matching slot, with a
short vibration if you want one, and touching a slot's button plays it too.
For Linux phones and desktops.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://tiltophon.org/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# The fonts are looked up by name; the libraries come from what the binaries link,
# found by cmake/PackageDepends.cmake once the files are staged. (CPack's own
# CPACK_DEBIAN_PACKAGE_SHLIBDEPS would also add ldconfig calls to the maintainer
# scripts for the sensor library below /usr/lib, which is the program's own and
# needs none.) libsndfile reads MP3 and Opus from 1.1.0 on, which its symbols alone
# do not show.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-dejavu-extra, libsndfile1 (>= 1.1.0)")
# On a phone the vibrations go through the session's haptics service, which applies
# the user's feedback profile; without it the program drives the motor itself.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "feedbackd")
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/PackageDepends.cmake)
set(CPACK_GENERATOR DEB)
include(CPack)
