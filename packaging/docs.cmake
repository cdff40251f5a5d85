# What Debian asks of a package beside the programs, made by the build and
# installed by `cmake --install` too: the manual pages of the four programs,
# the copyright file (the licence in Debian's machine-readable format) and the
# changelog (CHANGELOG.md's releases); and the user manual. Pages and
# changelog are compressed with gzip -n, so that the same sources give the
# same bytes.
set(VARNO_DOC_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/doc/varno)
set(man_dir ${CMAKE_CURRENT_BINARY_DIR}/man)
file(MAKE_DIRECTORY ${man_dir})

# The command-line tools' pages come from their own --help and --version.
find_program(HELP2MAN help2man)
set(man_pages)
set(cli_names
  "varno-cli|check, save and dump a war game's scenario files from scripts"
  "quillet-cli|checksum and convert a war game's map files from scripts")
foreach(entry ${cli_names})
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 program)
  list(GET entry 1 summary)
  if(NOT TARGET ${program})
    continue()
  endif()
  if(NOT HELP2MAN)
    message(WARNING "help2man not found (scripts/setup.sh installs it): no manual page for ${program}, "
                    "and the install tests fail")
    continue()
  endif()
  add_custom_command(OUTPUT ${man_dir}/${program}.1.gz
    COMMAND ${HELP2MAN} --no-info --section=1 --name=${summary} --output=${man_dir}/${program}.1
            $<TARGET_FILE:${program}>
    COMMAND gzip -9nf ${man_dir}/${program}.1
    DEPENDS ${program}
    COMMENT "Writing the manual page of ${program}"
    VERBATIM)
  list(APPEND man_pages ${man_dir}/${program}.1.gz)
endforeach()

# The desktop programs' pages are written by hand.
if(VARNO_GUI)
  set(VARNO_DEMO_FULL_DIR ${CMAKE_INSTALL_FULL_DATADIR}/varno/demo)
  foreach(program varno quillet)
    configure_file(man/${program}.1.in ${man_dir}/${program}.1 @ONLY)
    add_custom_command(OUTPUT ${man_dir}/${program}.1.gz
      COMMAND gzip -9nc ${man_dir}/${program}.1 > ${man_dir}/${program}.1.gz
      DEPENDS ${man_dir}/${program}.1
      COMMENT "Compressing the manual page of ${program}")
    list(APPEND man_pages ${man_dir}/${program}.1.gz)
  endforeach()
endif()
add_custom_target(varno_manpages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The copyright file: the licence's copyright line and text, under the name
# Debian gives the MIT licence (Expat).
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE licence)
set(copyright "")
set(licence_text "")
foreach(line IN LISTS licence)
  if(line MATCHES "^Copyright \\(c\\) (.*)")
    set(copyright ${CMAKE_MATCH_1})
  elseif(copyright STREQUAL "")
    # The licence's title.
  elseif(line STREQUAL "")
    string(APPEND licence_text " .\n")
  else()
    string(APPEND licence_text " ${line}\n")
  endif()
endforeach()
string(REGEX REPLACE "^ \\.\n" "" licence_text "${licence_text}" @ONLY)
file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/copyright CONTENT "\
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Varno
Upstream-Contact: ${VARNO_MAINTAINER}

Files: *
Copyright: ${copyright}
License: Expat
${licence_text}" @ONLY)

add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/CHANGELOG.md -DOUT=${CMAKE_CURRENT_BINARY_DIR}/changelog
          -DPACKAGE=varno "-DMAINTAINER=${VARNO_MAINTAINER}" -P ${CMAKE_CURRENT_SOURCE_DIR}/debian_changelog.cmake
  COMMAND gzip -9nf ${CMAKE_CURRENT_BINARY_DIR}/changelog
  DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${CMAKE_CURRENT_SOURCE_DIR}/debian_changelog.cmake
  COMMENT "Writing the Debian changelog from CHANGELOG.md"
  VERBATIM)
add_custom_target(varno_docs ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
        DESTINATION ${VARNO_DOC_INSTALL_DIR})

# The user manual (Help > Contents): its Markdown pages and the pictures they
# show, installed in share/varno/docs/ as they are in docs/ (the pages link
# the pictures as ../<name>.png), and copied into the build folder's
# share/varno/docs/, so that the programs of a build find them the same way.
file(GLOB manual_pages CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/manual/*.md)
file(GLOB manual_pictures CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*.png)
install(FILES ${manual_pages} DESTINATION ${VARNO_DOCS_INSTALL_DIR}/manual)
install(FILES ${manual_pictures} DESTINATION ${VARNO_DOCS_INSTALL_DIR})
set(manual_copies)
foreach(file ${manual_pages} ${manual_pictures})
  file(RELATIVE_PATH name ${PROJECT_SOURCE_DIR}/docs ${file})
  set(copy ${PROJECT_BINARY_DIR}/share/varno/docs/${name})
  get_filename_component(copy_dir ${copy} DIRECTORY)
  add_custom_command(OUTPUT ${copy}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${copy_dir}
    COMMAND ${CMAKE_COMMAND} -E copy ${file} ${copy}
    DEPENDS ${file}
    VERBATIM)
  list(APPEND manual_copies ${copy})
endforeach()
add_custom_target(varno_manual ALL DEPENDS ${manual_copies})
# The install tests compare the installed manual with these.
set_property(GLOBAL PROPERTY VARNO_MANUAL_FILES ${manual_pages} ${manual_pictures})
