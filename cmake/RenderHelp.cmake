# cmake -P script: the help page from its Markdown parts.
#   -DCMARK_GFM=<program> -DTEMPLATE=<html with @BODY@, @CONTENTS@, @VERSION@>
#   -DSOURCES=<list of .md> -DOUTPUT=<html> -DVERSION=<x.y.z>
# GitHub-flavoured tables; raw HTML in the Markdown is kept (--unsafe), it is
# our own text.  Every second-level heading gets an id made from its text and
# a line in the table of contents, so a new part needs nothing but its file.
cmake_minimum_required(VERSION 3.22) # "@VERSION@" below is text, not a variable

set(markdown "")
foreach(source ${SOURCES})
  file(READ ${source} part)
  string(APPEND markdown "${part}\n")
endforeach()
get_filename_component(folder ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
file(WRITE ${OUTPUT}.md "${markdown}")
execute_process(COMMAND ${CMARK_GFM} --unsafe -e table -e autolink ${OUTPUT}.md
  OUTPUT_VARIABLE body RESULT_VARIABLE status)
file(REMOVE ${OUTPUT}.md)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmark-gfm failed (${status})")
endif()

set(contents "")
string(REGEX MATCHALL "<h2>[^<]*</h2>" headings "${body}")
foreach(heading ${headings})
  string(REGEX REPLACE "</?h2>" "" title "${heading}")
  string(TOLOWER "${title}" id)
  string(REGEX REPLACE "&[a-z]+;" "" id "${id}")
  string(REGEX REPLACE "[^a-z0-9]+" "-" id "${id}")
  string(REGEX REPLACE "^-|-$" "" id "${id}")
  string(REPLACE "${heading}" "<h2 id=\"${id}\">${title}</h2>" body "${body}")
  string(APPEND contents "<li><a href=\"#${id}\">${title}</a></li>\n")
endforeach()

file(READ ${TEMPLATE} page)
string(REPLACE "@VERSION@" "${VERSION}" page "${page}")
string(REPLACE "@CONTENTS@" "${contents}" page "${page}")
string(REPLACE "@BODY@" "${body}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
