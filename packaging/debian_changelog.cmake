# Writes CHANGELOG.md's releases as a Debian changelog (the package's
# changelog.gz): each "## VERSION (YYYY-MM-DD)" heading becomes an entry, its
# "- " items the entry's "*" items.
# Usage: cmake -DIN=CHANGELOG.md -DOUT=changelog -DPACKAGE=varno
#              "-DMAINTAINER=Name <address>" -P debian_changelog.cmake
file(STRINGS ${IN} lines ENCODING UTF-8)
set(text "")
set(trailer "")
foreach(line IN LISTS lines)
  if(line MATCHES "^## ([^ ]+) \\(([0-9-]+)\\)$")
    set(version ${CMAKE_MATCH_1})
    execute_process(COMMAND date -u -R -d "${CMAKE_MATCH_2} 12:00"
                    OUTPUT_VARIABLE date OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    string(APPEND text "${trailer}${PACKAGE} (${version}) unstable; urgency=medium\n\n")
    set(trailer "\n -- ${MAINTAINER}  ${date}\n\n")
  elseif(trailer STREQUAL "")
    # The file's title and introduction come before the first release.
  elseif(line MATCHES "^- (.*)")
    string(APPEND text "  * ${CMAKE_MATCH_1}\n")
  elseif(line MATCHES "^  (.*)")
    string(APPEND text "    ${CMAKE_MATCH_1}\n")
  elseif(NOT line STREQUAL "")
    string(APPEND text "  ${line}\n")
  endif()
endforeach()
if(trailer STREQUAL "")
  message(FATAL_ERROR "${IN} names no release (## VERSION (YYYY-MM-DD))")
endif()
string(REGEX REPLACE "\n\n$" "\n" trailer "${trailer}")
file(WRITE ${OUT} "${text}${trailer}")
