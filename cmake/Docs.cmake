# Generated documentation and pictures: the help page (Markdown to HTML with
# cmark-gfm), the two man pages (version filled in, compressed) and the PNG
# sizes of the icon (rsvg-convert).  Everything lands in the build tree, the
# help page in <build>/docs/ beside the executables, where the window's help
# button looks first.
find_program(CMARK_GFM cmark-gfm REQUIRED
  DOC "Markdown to HTML converter of the help page (Debian package cmark-gfm)")
find_program(GZIP gzip REQUIRED)

# The help page: docs/help/*.md in name order, one page.
file(GLOB TAVREL_HELP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/help/*.md)
list(SORT TAVREL_HELP_SOURCES)
set(TAVREL_HELP_PAGE ${CMAKE_BINARY_DIR}/docs/tavrel.html)
add_custom_command(OUTPUT ${TAVREL_HELP_PAGE}
  COMMAND ${CMAKE_COMMAND} -DCMARK_GFM=${CMARK_GFM}
          -DTEMPLATE=${CMAKE_SOURCE_DIR}/docs/help-template.html
          -DOUTPUT=${TAVREL_HELP_PAGE} -DVERSION=${PROJECT_VERSION}
          "-DSOURCES=${TAVREL_HELP_SOURCES}"
          -P ${CMAKE_SOURCE_DIR}/cmake/RenderHelp.cmake
  DEPENDS ${TAVREL_HELP_SOURCES} ${CMAKE_SOURCE_DIR}/docs/help-template.html
          ${CMAKE_SOURCE_DIR}/cmake/RenderHelp.cmake
  COMMENT "Help page docs/tavrel.html"
  VERBATIM)

# Man pages: @PROJECT_VERSION@ filled in, then gzip -n (no name or time
# stamp, so that the package is reproducible).
set(TAVREL_MAN_PAGES "")
foreach(page tavrel tavrel-calc)
  configure_file(${CMAKE_SOURCE_DIR}/docs/man/${page}.1 ${CMAKE_BINARY_DIR}/man/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.1.gz
    COMMAND ${GZIP} -9nkf ${CMAKE_BINARY_DIR}/man/${page}.1
    DEPENDS ${CMAKE_BINARY_DIR}/man/${page}.1
    VERBATIM)
  list(APPEND TAVREL_MAN_PAGES ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
endforeach()

set(tavrel_doc_outputs ${TAVREL_HELP_PAGE} ${TAVREL_MAN_PAGES})

# Icon sizes of the hicolor theme, rendered from the one SVG.
set(TAVREL_ICON_SIZES 16 22 24 32 48 64 128 256)
if(TARGET tavrel)
  find_program(RSVG_CONVERT rsvg-convert REQUIRED
    DOC "SVG renderer for the icon sizes (Debian package librsvg2-bin)")
  set(icon_svg ${CMAKE_SOURCE_DIR}/packaging/${TAVREL_APP_ID}.svg)
  foreach(size ${TAVREL_ICON_SIZES})
    set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/${TAVREL_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
      COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${icon_svg}
      DEPENDS ${icon_svg}
      VERBATIM)
    list(APPEND tavrel_doc_outputs ${png})
  endforeach()
endif()

add_custom_target(tavrel_docs ALL DEPENDS ${tavrel_doc_outputs})
# The window's help button expects the page beside the executable.
if(TARGET tavrel)
  add_dependencies(tavrel tavrel_docs)
endif()
