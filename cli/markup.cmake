# What `zvsa markup` needs, for cli/CMakeLists.txt (which compiles the
# command into zvsa) and for the command's own tests:
#   ZV_MARKUP_COMMAND_SOURCES  the command's source files
#   ZV_MARKUP_COMMAND_LIBS     the libraries to link with them
set(ZV_MARKUP_COMMAND_SOURCES ${CMAKE_CURRENT_LIST_DIR}/markup_command.cpp)
set(ZV_MARKUP_COMMAND_LIBS zv_markup zv_webbot_component zv_platform)
