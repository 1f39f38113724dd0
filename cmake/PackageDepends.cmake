# SPDX-FileCopyrightText: 2026 The Tiltophon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack once the package's files are staged, before the Debian package is
# made: adds to its dependencies the libraries that its programs and its sensor
# library link, as dpkg-shlibdeps finds them (what debhelper's dh_shlibdeps does).

if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()

# ELF files begin with 0x7f "ELF".
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
set(elf_files "")
foreach(file IN LISTS staged)
  if(NOT IS_SYMLINK "${file}")
    file(READ "${file}" magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46")
      list(APPEND elf_files "${file}")
    endif()
  endif()
endforeach()
if(NOT elf_files)
  message(FATAL_ERROR "PackageDepends: no programs in ${CPACK_TEMPORARY_DIRECTORY}")
endif()

# dpkg-shlibdeps wants a debian/control in its working folder, which must not be
# the staged tree: everything there goes into the package.
set(work "${CPACK_TOPLEVEL_DIRECTORY}/shlibdeps")
file(REMOVE_RECURSE "${work}")
file(WRITE "${work}/debian/control" "")
execute_process(COMMAND dpkg-shlibdeps -O ${elf_files}
  WORKING_DIRECTORY "${work}"
  OUTPUT_VARIABLE found ERROR_VARIABLE problems RESULT_VARIABLE status)
file(REMOVE_RECURSE "${work}")
if(NOT status EQUAL 0 OR NOT found MATCHES "shlibs:Depends=([^\n]+)")
  message(FATAL_ERROR "PackageDepends: dpkg-shlibdeps failed: ${problems}")
endif()
set(linked "${CMAKE_MATCH_1}")

# A library the package already names by hand keeps its hand-written version, which
# knows what the symbols alone do not.
set(named "")
string(REPLACE ", " ";" relations "${CPACK_DEBIAN_PACKAGE_DEPENDS}")
foreach(relation IN LISTS relations)
  string(REGEX MATCH "^[^ ]+" package "${relation}")
  list(APPEND named "${package}")
endforeach()
set(depends "${CPACK_DEBIAN_PACKAGE_DEPENDS}")
string(REPLACE ", " ";" relations "${linked}")
foreach(relation IN LISTS relations)
  string(REGEX MATCH "^[^ ]+" package "${relation}")
  list(FIND named "${package}" found_at)
  if(found_at EQUAL -1)
    string(APPEND depends ", ${relation}")
  endif()
endforeach()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${depends}")
