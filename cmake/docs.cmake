# The HTML reference of the public headers, built with everything else; a
# public name without documentation fails the build. Installed under
# share/doc/openvoskar/html by install.cmake.
find_package(Doxygen)
if(NOT DOXYGEN_FOUND)
  message(FATAL_ERROR "The HTML reference needs Doxygen (apt-get install doxygen); "
    "configure with -DOV_BUILD_DOCS=OFF to build without it.")
endif()
set(OV_DOCS_DIR ${PROJECT_BINARY_DIR}/docs)
set(ov_documented
  docs/reference.md
  include/toolkit/tk.h include/toolkit/tk_error.h include/toolkit/ov_export.h
  include/image/image.h include/textures/texture_table.h)
list(TRANSFORM ov_documented PREPEND ${PROJECT_SOURCE_DIR}/)
configure_file(docs/Doxyfile.in ${OV_DOCS_DIR}/Doxyfile @ONLY)
add_custom_command(OUTPUT ${OV_DOCS_DIR}/html/index.html
  COMMAND ${CMAKE_COMMAND} -E remove_directory ${OV_DOCS_DIR}/html
  COMMAND Doxygen::doxygen ${OV_DOCS_DIR}/Doxyfile
  DEPENDS ${ov_documented} ${OV_DOCS_DIR}/Doxyfile
  COMMENT "The HTML reference, with Doxygen"
  VERBATIM)
add_custom_target(docs ALL DEPENDS ${OV_DOCS_DIR}/html/index.html)
