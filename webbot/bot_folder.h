// Where the component finds its files: the insertion program ZvInsertBot,
// which lies beside it in the private library folder, and the three preview
// images (whose names are previewImageName() of webbot_text.h) in the private
// data folder, found from the component's folder by the relative path
// between the two (platform/install_layout.h).
//
// A web-page editor may load the component from a cache folder whose path
// has a component named "botcache", while the component's files stay in the
// corresponding "bots" folder: the first path component named "botcache"
// (in any letter case) is replaced by "bots", every other character kept as
// it is (paths are case-sensitive here). A path without such a component is
// used as it is. The mapping is made on the component's folder, so the
// images are looked for under the same "bots" path as the program.
#ifndef ZV_WEBBOT_BOT_FOLDER_H
#define ZV_WEBBOT_BOT_FOLDER_H

#include <string>
#include <string_view>

namespace zv::webbot {

// `path` with its first component named "botcache" (any case) replaced by
// "bots".
std::string mapBotCacheToBots(std::string_view path);

// The folder of the loaded component library (ending in "/"), mapped by
// mapBotCacheToBots. Empty when it cannot be found out.
std::string componentFolder();

// The full path of the insertion program in componentFolder().
std::string insertBotPath();

// The folder of the preview images: the private data folder as seen from
// componentFolder(), ending in "/". Empty when that folder is unknown.
std::string previewImageFolder();

}  // namespace zv::webbot

#endif  // ZV_WEBBOT_BOT_FOLDER_H
