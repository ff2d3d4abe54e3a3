# What `cmake --install` puts in a prefix: the libraries, the public headers,
# the programs, a CMake package (find_package(OpenVoskar CONFIG)) and
# pkg-config files. `cpack` zips the same tree.
#
# The toolkit, the image readers, what they share and the platform layer
# under them are one library, libopenvoskar: both report through the one
# failure record and error switch, and both keep process-wide state in the
# one platform layer, so a shared build must hold them in one object that
# exports only the public functions. The texture table, a C++ class, is libopenvoskar-textures on top.
# Both are archives, natively also shared libraries, put together from the
# objects of the tree's own libraries: nothing is compiled twice.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

if(WIN32)
  set(OV_SHARED_LIBRARIES OFF)
else()
  set(OV_SHARED_LIBRARIES ON)
  set_target_properties(platform common toolkit image textures PROPERTIES
    POSITION_INDEPENDENT_CODE ON
    C_VISIBILITY_PRESET hidden CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
endif()

# What the objects need from the system, as the tree's targets link it.
get_target_property(ov_gl_libraries ov_gl INTERFACE_LINK_LIBRARIES)
get_target_property(ov_system_libraries platform LINK_LIBRARIES)
list(REMOVE_ITEM ov_system_libraries ov_gl ov_warnings)
list(APPEND ov_system_libraries ${ov_gl_libraries})
# An archive's callers link these; their headers are none of the callers' business.
list(TRANSFORM ov_system_libraries PREPEND "$<LINK_ONLY:" OUTPUT_VARIABLE ov_system_links)
list(TRANSFORM ov_system_links APPEND ">")
list(TRANSFORM ov_gl_libraries PREPEND "$<LINK_ONLY:" OUTPUT_VARIABLE ov_gl_links)
list(TRANSFORM ov_gl_links APPEND ">")
# The archives are C++ inside: a program the C compiler links gets the C++
# runtime (and natively the maths library it needs) named for it.
set(ov_cxx_runtime stdc++)
if(NOT WIN32)
  list(APPEND ov_cxx_runtime m)
endif()
list(TRANSFORM ov_cxx_runtime PREPEND "$<LINK_ONLY:$<$<NOT:$<LINK_LANGUAGE:CXX>>:" OUTPUT_VARIABLE ov_cxx_runtime_links)
list(TRANSFORM ov_cxx_runtime_links APPEND ">>")

set(ov_c_objects $<TARGET_OBJECTS:platform> $<TARGET_OBJECTS:common> $<TARGET_OBJECTS:toolkit> $<TARGET_OBJECTS:image>)

# A shared library exports what its public headers mark OV_EXPORT and nothing
# else. Hidden visibility alone leaves the standard library's template
# instances it uses visible; a version script written from the same marks
# makes them local.
function(ov_version_script target)
  set(names "")
  foreach(header ${ARGN})
    file(STRINGS ${header} lines REGEX "OV_EXPORT")
    foreach(line IN LISTS lines)
      if(line MATCHES "^class OV_EXPORT ([A-Za-z_0-9]+)")
        string(APPEND names "    extern \"C++\" { ${CMAKE_MATCH_1}::*; \"typeinfo for ${CMAKE_MATCH_1}\"; "
                            "\"typeinfo name for ${CMAKE_MATCH_1}\"; \"vtable for ${CMAKE_MATCH_1}\"; };\n")
      elseif(line MATCHES "^OV_EXPORT [^(]*[ *]([A-Za-z_][A-Za-z_0-9]*)\\(")
        string(APPEND names "    ${CMAKE_MATCH_1};\n")
      endif()
    endforeach()
  endforeach()
  set(script ${PROJECT_BINARY_DIR}/${target}.map)
  if(names)
    set(names "  global:\n${names}")
  endif()
  file(WRITE ${script} "OPENVOSKAR_${PROJECT_VERSION_MAJOR} {\n${names}  local: *;\n};\n")
  target_link_options(${target} PRIVATE LINKER:--version-script=${script})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${script})
endfunction()

# One library and the texture table on it, under the export names given;
# image is the same library under its own name.
function(ov_add_installed_libraries kind suffix variant)
  add_library(ov_c_${kind} ${kind} ${ov_c_objects})
  add_library(ov_textures_${kind} ${kind} $<TARGET_OBJECTS:textures>)
  add_library(ov_image_${kind} INTERFACE)
  set_target_properties(ov_c_${kind} PROPERTIES OUTPUT_NAME openvoskar EXPORT_NAME toolkit${suffix})
  set_target_properties(ov_textures_${kind} PROPERTIES OUTPUT_NAME openvoskar-textures EXPORT_NAME textures${suffix})
  set_target_properties(ov_image_${kind} PROPERTIES EXPORT_NAME image${suffix})
  target_include_directories(ov_c_${kind} INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  target_link_libraries(ov_image_${kind} INTERFACE ov_c_${kind})
  if(kind STREQUAL SHARED)
    target_link_libraries(ov_c_${kind} PRIVATE ${ov_system_libraries})
    target_link_libraries(ov_textures_${kind} PUBLIC ov_c_${kind} PRIVATE ${ov_gl_libraries})
    set_target_properties(ov_c_${kind} ov_textures_${kind} PROPERTIES
      VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
    # Whatever a library needs is named at its own link, never left to the caller.
    target_link_options(ov_c_${kind} PRIVATE LINKER:--no-undefined)
    target_link_options(ov_textures_${kind} PRIVATE LINKER:--no-undefined)
    ov_version_script(ov_c_${kind} include/toolkit/tk.h include/toolkit/tk_error.h include/image/image.h)
    ov_version_script(ov_textures_${kind} include/textures/texture_table.h)
  else()
    target_link_libraries(ov_c_${kind} INTERFACE ${ov_system_links} ${ov_cxx_runtime_links})
    target_link_libraries(ov_textures_${kind} INTERFACE ov_c_${kind} ${ov_gl_links})
  endif()
  install(TARGETS ov_c_${kind} ov_image_${kind} ov_textures_${kind} EXPORT OpenVoskar${variant}Targets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(EXPORT OpenVoskar${variant}Targets NAMESPACE OpenVoskar::
    DESTINATION ${ov_package_dir})
endfunction()

set(ov_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/OpenVoskar)
ov_add_installed_libraries(STATIC -static Static)
if(OV_SHARED_LIBRARIES)
  ov_add_installed_libraries(SHARED "" Shared)
endif()

# include/ holds exactly the public headers, as they are installed.
install(DIRECTORY include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

# The programs link the tree's archives: they run from anywhere.
install(TARGETS open-voskar ov-view tk-spin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES examples/crate.bmp DESTINATION ${CMAKE_INSTALL_DATADIR}/openvoskar)
set(ov_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/openvoskar)
install(FILES LICENSE README.md DESTINATION ${ov_doc_dir})
if(OV_BUILD_DOCS)
  install(DIRECTORY ${OV_DOCS_DIR}/html DESTINATION ${ov_doc_dir})
endif()
if(WIN32)
  # The Windows programs carry the MinGW-w64 run-time libraries inside them.
  install(FILES docs/THIRD-PARTY-NOTICES-windows.txt DESTINATION ${ov_doc_dir}
    RENAME THIRD-PARTY-NOTICES.txt)
endif()

configure_package_config_file(cmake/OpenVoskarConfig.cmake.in OpenVoskarConfig.cmake
  INSTALL_DESTINATION ${ov_package_dir})
write_basic_package_version_file(OpenVoskarConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/OpenVoskarConfig.cmake ${PROJECT_BINARY_DIR}/OpenVoskarConfigVersion.cmake
  DESTINATION ${ov_package_dir})

# pkg-config files that find the prefix from where they lie, so that the
# tree works wherever it is unpacked. The system libraries are those of
# ov_system_libraries above, as linker flags; with no shared library they
# are part of every link.
if(WIN32)
  set(ov_pc_system_libraries "-lopengl32 -lglu32 -luser32 -lgdi32 -lkernel32 -ladvapi32 -lstdc++")
else()
  set(ov_pc_system_libraries "-lSDL2 -lGL -lGLU -lX11 -lXext -pthread -lstdc++ -lm")
endif()
file(RELATIVE_PATH ov_pc_to_prefix /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" ov_pc_to_prefix ${ov_pc_to_prefix})

function(ov_write_pc name description requires libs system)
  set(text "prefix=\${pcfiledir}/${ov_pc_to_prefix}\n"
           "libdir=\${prefix}/${CMAKE_INSTALL_LIBDIR}\n"
           "includedir=\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}\n\n"
           "Name: ${name}\nDescription: ${description}\nVersion: ${PROJECT_VERSION}\n")
  if(requires)
    string(APPEND text "Requires: ${requires}\n")
  endif()
  if(system AND NOT OV_SHARED_LIBRARIES)
    string(APPEND libs " ${system}")
  elseif(system)
    set(private "Libs.private: ${system}\n")
  endif()
  if(libs)
    string(APPEND text "Libs: -L\${libdir} ${libs}\n" ${private})
  endif()
  string(APPEND text "Cflags: -I\${includedir}\n")
  file(WRITE ${PROJECT_BINARY_DIR}/pkgconfig/${name}.pc ${text})
  install(FILES ${PROJECT_BINARY_DIR}/pkgconfig/${name}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endfunction()

ov_write_pc(openvoskar-toolkit "Windowing toolkit: one window with an OpenGL context (libopenvoskar)"
  "" -lopenvoskar "${ov_pc_system_libraries}")
ov_write_pc(openvoskar-image "SGI rgb and device-independent bitmap readers (in libopenvoskar)"
  openvoskar-toolkit "" "")
ov_write_pc(openvoskar-textures "Bitmap files as OpenGL textures, a C++ class (libopenvoskar-textures)"
  openvoskar-image -lopenvoskar-textures "")

# The install tree as one zip: `cmake --build BUILD --target package`.
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME openvoskar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
if(WIN32)
  math(EXPR ov_bits "${CMAKE_SIZEOF_VOID_P} * 8")
  set(CPACK_SYSTEM_NAME win${ov_bits})
else()
  string(TOLOWER ${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR} CPACK_SYSTEM_NAME)
endif()
set(CPACK_PACKAGE_FILE_NAME openvoskar-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME})
include(CPack)
