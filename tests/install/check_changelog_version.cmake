# debian/changelog's newest entry carries the project's version (VERSION,
# from project() in CMakeLists.txt): the package is native, so the two are
# the same text.
file(STRINGS ${CHANGELOG} first_line LIMIT_COUNT 1)
if(NOT first_line MATCHES "^zvtavelworks \\(([^)]+)\\) ")
  message(FATAL_ERROR "${CHANGELOG} does not begin with a zvtavelworks entry: ${first_line}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
  message(FATAL_ERROR "debian/changelog says ${CMAKE_MATCH_1}, the project is ${VERSION}: "
                      "add a changelog entry (dch -v ${VERSION}) or fix project(VERSION)")
endif()
