# The installation's folders, and the build tree laid out the same way.
#
#   bin/                       programs people run
#   <libdir>/                  libraries other programs link
#   <libdir>/zvtavelworks/     private, architecture-dependent: the insertion
#                              program and the libraries loaded by file name
#                              at run time (codecs, component)
#   share/zvtavelworks/        private, architecture-independent: preview
#                              images, the web player, the shipped gallery,
#                              the sample sound
#
# <libdir> is GNUInstallDirs' choice (lib, or lib/<multiarch> for a /usr
# prefix on Debian). The programs and libraries find each other by relative
# paths between these folders, worked out here and compiled in
# (platform/install_layout.h), so one binary runs in the build tree and in any
# prefix the tree is installed into.
foreach(dir BINDIR LIBDIR DATADIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${dir}}")
    message(FATAL_ERROR "CMAKE_INSTALL_${dir} must be relative to the prefix: "
                        "the tree finds its parts by relative paths")
  endif()
endforeach()

set(ZV_INSTALL_PKGLIBDIR ${CMAKE_INSTALL_LIBDIR}/zvtavelworks)
set(ZV_INSTALL_PKGDATADIR ${CMAKE_INSTALL_DATADIR}/zvtavelworks)

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/${CMAKE_INSTALL_BINDIR})
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/${CMAKE_INSTALL_LIBDIR})
set(CMAKE_ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/${CMAKE_INSTALL_LIBDIR})
set(ZV_PRIVATE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/${ZV_INSTALL_PKGLIBDIR})
set(ZV_PRIVATE_DATA_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/${ZV_INSTALL_PKGDATADIR})

# The relative path from folder `from` to folder `to` (both relative to the
# prefix), "" when they are the same.
function(zv_relative_folder out from to)
  file(RELATIVE_PATH path /zv-prefix/${from} /zv-prefix/${to})
  set(${out} "${path}" PARENT_SCOPE)
endfunction()
zv_relative_folder(ZV_LIBRARY_FROM_PROGRAM ${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_LIBDIR})
zv_relative_folder(ZV_PRIVATE_LIBRARY_FROM_PROGRAM ${CMAKE_INSTALL_BINDIR} ${ZV_INSTALL_PKGLIBDIR})
zv_relative_folder(ZV_PRIVATE_LIBRARY_FROM_LIBRARY ${CMAKE_INSTALL_LIBDIR} ${ZV_INSTALL_PKGLIBDIR})
zv_relative_folder(ZV_LIBRARY_FROM_PRIVATE_LIBRARY ${ZV_INSTALL_PKGLIBDIR} ${CMAKE_INSTALL_LIBDIR})
zv_relative_folder(ZV_PRIVATE_DATA_FROM_PROGRAM ${CMAKE_INSTALL_BINDIR} ${ZV_INSTALL_PKGDATADIR})
zv_relative_folder(ZV_PRIVATE_DATA_FROM_LIBRARY ${CMAKE_INSTALL_LIBDIR} ${ZV_INSTALL_PKGDATADIR})
zv_relative_folder(ZV_PRIVATE_DATA_FROM_PRIVATE_LIBRARY ${ZV_INSTALL_PKGLIBDIR} ${ZV_INSTALL_PKGDATADIR})

# Generated headers are seen like the source root's: privately, by every
# target of the tree.
configure_file(${PROJECT_SOURCE_DIR}/platform/install_layout.h.in
               ${PROJECT_BINARY_DIR}/generated/platform/install_layout.h @ONLY)
include_directories(${PROJECT_BINARY_DIR}/generated)

# Run paths: a program in bin/ finds the linked libraries in <libdir>, a
# library beside itself. Programs in the private folder get their own
# (zv_private_program). A distribution build that installs into the system's
# library folder may switch them off (CMAKE_SKIP_INSTALL_RPATH).
set(CMAKE_INSTALL_RPATH "$ORIGIN/${ZV_LIBRARY_FROM_PROGRAM};$ORIGIN")

# A program that lives in the private library folder, beside the component.
function(zv_private_program target)
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${ZV_PRIVATE_LIBRARY_OUTPUT_DIRECTORY}
    INSTALL_RPATH "$ORIGIN/${ZV_LIBRARY_FROM_PRIVATE_LIBRARY};$ORIGIN")
endfunction()
