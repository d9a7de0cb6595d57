# What `cmake --install` puts into a prefix, and the package configs that let
# another project use the public headers and the libraries. The folders
# follow the file-system hierarchy's rules (cmake/ZvInstallDirs.cmake):
#
#   bin/                      zvsa, webhost, zvwizard
#   <libdir>/                 libZvEncoder.so.1.0 (the wizard library, which
#                             other programs link: DoZvEncoder) and its
#                             SONAME link libZvEncoder.so.1; the link
#                             libZvEncoder.so for building against it
#   <libdir>/zvtavelworks/    private, architecture-dependent: ZvInsertBot;
#                             libQV48W.so, libQV80W.so, libQV160MXW.so, libZvEditBot.so
#                             (loaded by these file names at run time, each a
#                             link to its versioned file beside it)
#   share/zvtavelworks/       private, architecture-independent: the preview
#                             images FP*Button.gif, the web player's files,
#                             Gallery/ (the sample as two clips) and the
#                             sample sound
#   include/zv/               the public C headers
#   share/doc/ZvTavelworks/   README.md, the user guide
#   share/applications/, share/icons/hicolor/scalable/apps/
#                             zvwizard's desktop entry and icon
#   <libdir>/cmake/ZvTavelworks/   ZvTavelworksConfig.cmake and its targets
#   <libdir>/pkgconfig/       zvtavelworks.pc
#
# <libdir> is lib, or lib/<multiarch> where GNUInstallDirs says so. Programs
# and libraries find one another and their files by the relative paths
# between these folders (platform/install_layout.h), never by ../lib, so the
# tree runs from wherever it is installed and from the build tree.
include(CMakePackageConfigHelpers)

set(ZV_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/ZvTavelworks)

# Every shared library carries the project's version in its SONAME; the ones
# loaded by file name lie in the private library folder, in the build tree
# too, where the loaders look for them.
set(zv_private_libraries QV48W QV80W QV160MXW)
if(ZV_BUILD_QT)
  list(APPEND zv_private_libraries ZvEditBot)
endif()
set_target_properties(${zv_private_libraries} PROPERTIES
  LIBRARY_OUTPUT_DIRECTORY ${ZV_PRIVATE_LIBRARY_OUTPUT_DIRECTORY})
foreach(library ${zv_private_libraries} ZvEncoder)
  if(TARGET ${library})
    set_target_properties(${library} PROPERTIES
      VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
  endif()
endforeach()

install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/zv
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h")
# A build without Qt (ZV_BUILD_QT off) installs the codecs, zvsa, the
# headers and the sample only.
# The links a loader opens by file name (libQV80W.so, ...) belong with the
# libraries in the private folder, not in a development package: NAMELINK
# goes to the same place.
install(TARGETS zv_headers ${zv_private_libraries} EXPORT ZvTavelworksTargets
        LIBRARY DESTINATION ${ZV_INSTALL_PKGLIBDIR})
install(TARGETS zvsa RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/speech-sample.wav DESTINATION ${ZV_INSTALL_PKGDATADIR})
if(ZV_BUILD_QT)
  install(TARGETS ZvEncoder EXPORT ZvTavelworksTargets
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(TARGETS webhost zvwizard RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # The wizard's shipped gallery, found from the wizard library; the user
  # guide is what the wizard's about box opens; the desktop entry starts
  # zvwizard.
  install(FILES ${ZV_GALLERY_CLIPS} DESTINATION ${ZV_INSTALL_PKGDATADIR}/Gallery)
  install(FILES ${PROJECT_SOURCE_DIR}/data/zvwizard.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/data/zvwizard.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # The component folder is the private library folder: the insertion program
  # lies beside the component; the preview images it hands the editor lie in
  # the private data folder.
  if(TARGET ZvInsertBot)
    install(TARGETS ZvInsertBot RUNTIME DESTINATION ${ZV_INSTALL_PKGLIBDIR})
  endif()
  install(FILES ${ZV_PREVIEW_IMAGES} DESTINATION ${ZV_INSTALL_PKGDATADIR})

  # pkg-config for C programs that link the wizard library. Its paths are
  # relative to the file's own folder, so the tree stays relocatable.
  zv_relative_folder(zv_prefix_from_pc ${CMAKE_INSTALL_LIBDIR}/pkgconfig .)
  string(REGEX REPLACE "/$" "" zv_prefix_from_pc "${zv_prefix_from_pc}")
  configure_file(${CMAKE_CURRENT_LIST_DIR}/zvtavelworks.pc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/zvtavelworks.pc @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/zvtavelworks.pc
          DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endif()

install(EXPORT ZvTavelworksTargets NAMESPACE ZvTavelworks::
        DESTINATION ${ZV_INSTALL_CMAKEDIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/ZvTavelworksConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/ZvTavelworksConfig.cmake
  INSTALL_DESTINATION ${ZV_INSTALL_CMAKEDIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/ZvTavelworksConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/ZvTavelworksConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/ZvTavelworksConfigVersion.cmake
        DESTINATION ${ZV_INSTALL_CMAKEDIR})
