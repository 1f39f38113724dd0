# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the template of the catalogues, OUTPUT, from the program's sources, the
# desktop entry and the AppStream metadata. Run with cmake -P by the build and by
# scripts/update-translations.sh, so both make the same template.
#   -DSOURCE_DIR=... -DOUTPUT=... -DXGETTEXT=... -DVERSION=...

# The program's captions, and the words the skin generator draws into pictures.
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
  ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/tools/skingen/*.cpp)
list(SORT sources)
set(common --from-code=UTF-8 --package-name=Tiltophon --package-version=${VERSION}
  --msgid-bugs-address=hello@tiltophon.org --copyright-holder=The\ Tiltophon\ developers
  --add-comments=Translators: --sort-by-file --no-wrap)

execute_process(
  COMMAND ${XGETTEXT} ${common} --language=C++ --keyword --keyword=translated --keyword=english_caption
    -o ${OUTPUT} ${sources}
  WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE failed)
if(NOT failed)
  execute_process(
    COMMAND ${XGETTEXT} ${common} --join-existing --language=Desktop
      -o ${OUTPUT} packaging/org.tiltophon.Tiltophon.desktop
    WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE failed)
endif()
if(NOT failed)
  execute_process(
    COMMAND ${XGETTEXT} ${common} --join-existing --its=/usr/share/gettext/its/metainfo.its
      -o ${OUTPUT} packaging/org.tiltophon.Tiltophon.metainfo.xml.in
    WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE failed)
endif()
if(failed)
  message(FATAL_ERROR "xgettext could not make ${OUTPUT}")
endif()
