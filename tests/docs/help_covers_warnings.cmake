# cmake -P script: the help page names every line type and every warning text
# the line models can raise, so that it cannot fall behind the code.
#   -DHELP=<generated tavrel.html> -DSOURCE_DIR=<repository>
cmake_minimum_required(VERSION 3.22)
#
# Where the texts come from (adapt here when the code moves them):
#   warnings:   the string literals a line's check appends to its warning list
#               (warnings.push_back( ... )), and those the driver adds itself
#               (AddWarning( ... ))
set(warning_sources src/models/*.cpp src/core/*.cpp)
set(warning_call "(AddWarning|warnings\\.push_back)\\(([^;]*)\\)[ \t\r\n]*;")
#   line types: the tab names and command-line names of the registry table
set(line_type_source src/models/linetypes.cpp)
set(line_type_entry "\\.tabName = \"([^\"]+)\",[ \t\r\n]*\\.cliName = \"([^\"]+)\"")

file(READ ${HELP} page)
# Compare with the text as a reader sees it: entities decoded, blanks folded.
string(REPLACE "&gt;" ">" page "${page}")
string(REPLACE "&lt;" "<" page "${page}")
string(REPLACE "&quot;" "\"" page "${page}")
string(REPLACE "&#39;" "'" page "${page}")
string(REPLACE "&amp;" "&" page "${page}")
string(REGEX REPLACE "[ \t\r\n]+" " " page "${page}")

set(missing "")
set(warning_count 0)
foreach(pattern ${warning_sources})
  file(GLOB matches ${SOURCE_DIR}/${pattern})
  foreach(file ${matches})
    file(READ ${file} code)
    string(REGEX MATCHALL "${warning_call}" calls "${code}")
    foreach(call ${calls})
      string(REGEX MATCHALL "\"([^\"\\\\]|\\\\.)*\"" literals "${call}")
      foreach(literal ${literals})
        string(REGEX REPLACE "^\"|\"$" "" text "${literal}")
        string(STRIP "${text}" text)
        if(text STREQUAL "")
          continue()
        endif()
        math(EXPR warning_count "${warning_count} + 1")
        string(FIND "${page}" "${text}" at)
        if(at EQUAL -1)
          list(APPEND missing "warning \"${text}\"")
        endif()
      endforeach()
    endforeach()
  endforeach()
endforeach()

file(READ ${SOURCE_DIR}/${line_type_source} registry)
string(REGEX MATCHALL "${line_type_entry}" entries "${registry}")
list(LENGTH entries line_type_count)
foreach(entry ${entries})
  string(REGEX MATCH "${line_type_entry}" _ "${entry}")
  foreach(name "${CMAKE_MATCH_1}" "${CMAKE_MATCH_2}")
    string(FIND "${page}" "${name}" at)
    if(at EQUAL -1)
      list(APPEND missing "line type \"${name}\"")
    endif()
  endforeach()
endforeach()

# An extraction that finds nothing means the code moved: fail rather than pass.
if(warning_count LESS 20 OR line_type_count LESS 8)
  message(FATAL_ERROR "found only ${warning_count} warning texts and ${line_type_count} line "
          "types in the sources; adapt the patterns at the top of this script")
endif()
if(missing)
  list(REMOVE_DUPLICATES missing)
  list(JOIN missing "\n  " text)
  message(FATAL_ERROR "the help page does not mention:\n  ${text}")
endif()
message(STATUS "help page names ${line_type_count} line types and all ${warning_count} warning texts")
