# What makes the programs at home on a desktop and in a shell, made and
# installed here:
#
#   share/man/man1/                  zvsa.1, zvwizard.1, webhost.1
#   share/bash-completion/completions/
#                                    zvsa, webhost
#   share/mime/packages/             the .zvsa clip's MIME type, audio/x-zvsa
#   share/metainfo/                  the wizard's AppStream metainfo
#   share/icons/hicolor/NxN/apps/    zvwizard.png, 16 to 256 pixels
#
# The manual pages are made by help2man from the built programs' --help (and
# each command's --help), with data/man/PROGRAM.h2m for what --help does not
# say, so a page never disagrees with its program. The PNG icons are rendered
# from data/zvwizard.svg, the one picture of the icon.
#
# Every file here is of the install component "desktop", so that a test can
# install just these. For the tests this sets ZV_MAN_PAGE_<program> (the made page),
# ZV_MAN_COMMANDS_<program> (the commands it details) and ZV_ICON_PNGS.
# A tool that is missing leaves its part out, with a note.

set(zv_desktop_source ${PROJECT_SOURCE_DIR}/data)
set(zv_desktop_output ${CMAKE_BINARY_DIR}/share)

# --- Manual pages ----------------------------------------------------------------

find_program(ZV_HELP2MAN help2man)
find_program(ZV_BASH bash)
set(ZV_MAN_PROGRAMS zvsa)
if(ZV_BUILD_QT)
  list(APPEND ZV_MAN_PROGRAMS zvwizard webhost)
endif()
# The commands each page details with their own --help: all of zvsa's (the
# helper reads them from its "Commands:" list), the two of webhost's that
# have options.
set(ZV_MAN_COMMANDS_zvsa "")
set(ZV_MAN_COMMANDS_zvwizard "")
set(ZV_MAN_COMMANDS_webhost serve preview)

if(CMAKE_CROSSCOMPILING)
  message(STATUS "Manual pages: left out of a cross build (help2man runs the programs)")
elseif(NOT ZV_HELP2MAN OR NOT ZV_BASH)
  message(STATUS "Manual pages: help2man not found, left out (scripts/install-deps.sh installs it)")
else()
  set(zv_man_pages "")
  foreach(program IN LISTS ZV_MAN_PROGRAMS)
    set(page ${zv_desktop_output}/man/man1/${program}.1)
    set(include ${zv_desktop_source}/man/${program}.h2m)
    # help2man runs this line through the shell with --help and --version.
    # zvwizard is a Qt program: the offscreen platform keeps it from asking
    # for a display, should it ever look for one before reading --help.
    list(JOIN ZV_MAN_COMMANDS_${program} " " commands)
    add_custom_command(OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${zv_desktop_output}/man/man1
      COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
              ${ZV_HELP2MAN} --no-info --section=1 "--source=Z&V Tavelworks ${PROJECT_VERSION}"
              --include=${include} --output=${page}
              "${ZV_BASH} ${zv_desktop_source}/man/help_for_manual.sh $<TARGET_FILE:${program}> ${commands}"
      DEPENDS ${program} ${include} ${zv_desktop_source}/man/help_for_manual.sh
      COMMENT "Writing the manual page ${program}(1)"
      VERBATIM)
    list(APPEND zv_man_pages ${page})
    set(ZV_MAN_PAGE_${program} ${page})
  endforeach()
  add_custom_target(zv_man_pages ALL DEPENDS ${zv_man_pages})
  install(FILES ${zv_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT desktop)
endif()

# --- Bash completion -------------------------------------------------------------

# bash-completion's own folder, taken relative to its prefix so that it lands
# inside whatever prefix the tree is installed to.
set(ZV_BASH_COMPLETION_DIR ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
find_package(PkgConfig QUIET)
if(PKG_CONFIG_FOUND)
  pkg_get_variable(zv_completions_dir bash-completion completionsdir)
  pkg_get_variable(zv_completions_prefix bash-completion prefix)
  if(zv_completions_dir AND zv_completions_prefix)
    cmake_path(IS_PREFIX zv_completions_prefix "${zv_completions_dir}" NORMALIZE zv_under_prefix)
    if(zv_under_prefix)
      cmake_path(RELATIVE_PATH zv_completions_dir BASE_DIRECTORY "${zv_completions_prefix}")
      set(ZV_BASH_COMPLETION_DIR ${zv_completions_dir})
    endif()
  endif()
endif()
install(FILES ${zv_desktop_source}/completion/zvsa
        DESTINATION ${ZV_BASH_COMPLETION_DIR} COMPONENT desktop)
if(ZV_BUILD_QT)
  install(FILES ${zv_desktop_source}/completion/webhost
          DESTINATION ${ZV_BASH_COMPLETION_DIR} COMPONENT desktop)
endif()

# --- MIME type of the clips ------------------------------------------------------

install(FILES ${zv_desktop_source}/desktop/zvtavelworks-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages COMPONENT desktop)

# --- The wizard on the desktop: metainfo and icons --------------------------------

if(ZV_BUILD_QT)
  install(FILES ${zv_desktop_source}/desktop/org.zvtavelworks.zvwizard.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT desktop)

  find_program(ZV_RSVG_CONVERT rsvg-convert)
  set(ZV_ICON_PNGS "")
  if(NOT ZV_RSVG_CONVERT)
    message(STATUS "PNG icons: rsvg-convert not found, left out (scripts/install-deps.sh installs it)")
  else()
    set(svg ${zv_desktop_source}/zvwizard.svg)
    foreach(size 16 24 32 48 64 128 256)
      set(folder ${zv_desktop_output}/icons/hicolor/${size}x${size}/apps)
      add_custom_command(OUTPUT ${folder}/zvwizard.png
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND ${ZV_RSVG_CONVERT} --width=${size} --height=${size} --format=png
                --output=${folder}/zvwizard.png ${svg}
        DEPENDS ${svg}
        COMMENT "Rendering the ${size} x ${size} icon"
        VERBATIM)
      list(APPEND ZV_ICON_PNGS ${folder}/zvwizard.png)
      install(FILES ${folder}/zvwizard.png COMPONENT desktop
              DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
    add_custom_target(zv_icons ALL DEPENDS ${ZV_ICON_PNGS})
  endif()
endif()
