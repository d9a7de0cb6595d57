// A stand-in for the component library in the installed-tree test: built of
// the same bot_folder.cpp as libZvEditBot.so, so that, copied into any
// folder, it answers where a component loaded from there would look for its
// insertion program and its preview images.
#include "webbot/bot_folder.h"

#include <string>

extern "C" __attribute__((visibility("default"))) const char* zvProbeInsertBotPath() {
  static const std::string path = zv::webbot::insertBotPath();
  return path.c_str();
}

extern "C" __attribute__((visibility("default"))) const char* zvProbePreviewImageFolder() {
  static const std::string folder = zv::webbot::previewImageFolder();
  return folder.c_str();
}
