# What `cmake --install` puts into a prefix, and the package config that lets
# another CMake project use the public headers and the libraries:
#
#   bin/                      zvsa, webhost, zvwizard
#   lib/                      libQV80W.so, libQV160MXW.so, libZvEditBot.so,
#                             libZvEncoder.so
#   lib/Gallery/              the wizard's gallery: the sample as two clips
#   include/zv/               the public C headers
#   share/zvtavelworks/       the built-in sample sound
#   share/doc/ZvTavelworks/   README.md, the user guide
#   share/applications/, share/icons/hicolor/scalable/apps/
#                             zvwizard's desktop entry and icon
#   lib/cmake/ZvTavelworks/   ZvTavelworksConfig.cmake and its targets
#
# The programs find the libraries at $ORIGIN/../lib (their run path, and the
# module loader's own rule), so the tree runs from wherever it is installed.
# Targets of later parts add themselves with install(TARGETS ... EXPORT
# ZvTavelworksTargets).
include(CMakePackageConfigHelpers)

set(ZV_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/zvtavelworks)
set(ZV_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/ZvTavelworks)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/zv
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h")
# A build without Qt (ZV_BUILD_QT off) installs the codecs, zvsa, the
# headers and the sample only.
install(TARGETS zv_headers QV80W QV160MXW EXPORT ZvTavelworksTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS zvsa RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/speech-sample.wav DESTINATION ${ZV_INSTALL_DATADIR})
if(ZV_BUILD_QT)
  install(TARGETS ZvEditBot ZvEncoder EXPORT ZvTavelworksTargets
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(TARGETS webhost zvwizard RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # The wizard's gallery lies beside the wizard library; the user guide is
  # what the wizard's about box opens; the desktop entry starts zvwizard.
  install(FILES ${ZV_GALLERY_CLIPS} DESTINATION ${CMAKE_INSTALL_LIBDIR}/Gallery)
  install(FILES ${PROJECT_SOURCE_DIR}/data/zvwizard.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/data/zvwizard.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # The component folder is the library folder: the insertion program and the
  # preview images it hands the editor lie beside the libraries.
  if(TARGET ZvInsertBot)
    install(TARGETS ZvInsertBot RUNTIME DESTINATION ${CMAKE_INSTALL_LIBDIR})
  endif()
  install(FILES ${ZV_PREVIEW_IMAGES} DESTINATION ${CMAKE_INSTALL_LIBDIR})
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
