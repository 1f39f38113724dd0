# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The default skin, the program's own pictures and the sound sets' pictures, drawn at
# build time by tools/skingen into the program folder:
#   Skin/*.png                         the 46 skin images
#   tiltophon.png                      the program's icon, 128 x 128
#   splash.png, about.png              splash picture 480 x 480, About picture 380 x 40
#   donate-up.png, donate-down.png     donation button, 184 x 52
#   record-up.png, record-down.png,    the pick screen's Record button, 144 x 60: at
#   record-on.png, record-mask.png     rest, pressed, recording, and its mask
#   Sounds/<Set>/<Set>B.png, <Set>S.png for Drums, Bells, Voices and Synth
# and the launcher icon into share/icons/hicolor/256x256/apps/tiltophon.png of the
# build tree, where an installed copy keeps it too.
set(TILTOPHON_SKIN_STAMP ${CMAKE_BINARY_DIR}/assets/skin.stamp)
set(TILTOPHON_LAUNCHER_ICON ${CMAKE_BINARY_DIR}/share/icons/hicolor/256x256/apps/tiltophon.png)
add_custom_command(
  OUTPUT ${TILTOPHON_SKIN_STAMP}
  COMMAND tiltophon-skingen ${TILTOPHON_PROGRAM_DIR} --launcher-icon ${TILTOPHON_LAUNCHER_ICON}
  COMMAND ${CMAKE_COMMAND} -E touch ${TILTOPHON_SKIN_STAMP}
  DEPENDS tiltophon-skingen
  COMMENT "Drawing the default skin and the program's pictures"
  VERBATIM)
# The skin images with words in them once more in each language, into Skin/LL/.
set(TILTOPHON_SKIN_LANGUAGE_STAMPS)
foreach(language IN LISTS TILTOPHON_LANGUAGES)
  set(stamp ${CMAKE_BINARY_DIR}/assets/skin-${language}.stamp)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND tiltophon-skingen ${TILTOPHON_PROGRAM_DIR} --language ${language}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS tiltophon-skingen tiltophon-translations ${PROJECT_SOURCE_DIR}/po/${language}.po
    COMMENT "Drawing the ${language} skin images"
    VERBATIM)
  list(APPEND TILTOPHON_SKIN_LANGUAGE_STAMPS ${stamp})
endforeach()
add_custom_target(tiltophon-skin ALL DEPENDS ${TILTOPHON_SKIN_STAMP} ${TILTOPHON_SKIN_LANGUAGE_STAMPS})

# The program target is made after this file is read; attach the skin to it then.
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL add_dependencies tiltophon-program tiltophon-skin)

# Tests and benchmarks check and load the generated skin.
function(tiltophon_skin_for_checks)
  foreach(target tiltophon_tests tiltophon_bench)
    if(TARGET ${target})
      add_dependencies(${target} tiltophon-skin)
    endif()
  endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL tiltophon_skin_for_checks)
