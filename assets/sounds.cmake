# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The shipped sound sets, synthesised at build time by tools/soundgen into the program
# folder's Sounds/<Set>/ (the sets' pictures are generated into the same folders).
set(TILTOPHON_SOUNDS_DIR ${TILTOPHON_PROGRAM_DIR}/Sounds)
set(TILTOPHON_SOUNDS_STAMP ${CMAKE_CURRENT_BINARY_DIR}/sounds.stamp)
add_custom_command(
  OUTPUT ${TILTOPHON_SOUNDS_STAMP}
  COMMAND tiltophon-soundgen ${TILTOPHON_SOUNDS_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${TILTOPHON_SOUNDS_STAMP}
  DEPENDS tiltophon-soundgen
  COMMENT "Synthesising the sound sets"
  VERBATIM)
add_custom_target(tiltophon-sounds ALL DEPENDS ${TILTOPHON_SOUNDS_STAMP})
# The program and the end-to-end tests are defined after the assets; attach to them
# once they exist.
function(tiltophon_attach_sounds)
  add_dependencies(tiltophon-program tiltophon-sounds)
  # The screens' tests and benchmarks run the whole program on the shipped sets.
  foreach(target tiltophon_tests tiltophon_bench)
    if(TARGET ${target})
      add_dependencies(${target} tiltophon-sounds)
    endif()
  endforeach()
  if(TARGET tiltophon_e2e_tests)
    # They check the shipped sets, pictures included.
    add_dependencies(tiltophon_e2e_tests tiltophon-sounds)
    if(TARGET tiltophon-skin)
      add_dependencies(tiltophon_e2e_tests tiltophon-skin)
    endif()
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL tiltophon_attach_sounds)
