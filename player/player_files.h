// The web player that plays .zvsa clips in today's browsers in place of the
// ZvStreamPlayer applet: its files, and the <script> element that loads it.
//
// The player's files live where the applet's class files live (the class
// folder: the markup's codebase, or the page's own folder when the codebase
// is empty): ZvStreamPlayer.js, the one script a page loads, the modules it
// loads from its own folder (which take over the page's APPLET and OBJECT
// elements), and the two decoders in WebAssembly.
#ifndef ZV_PLAYER_PLAYER_FILES_H
#define ZV_PLAYER_PLAYER_FILES_H

#include <string>
#include <string_view>

namespace zv::player {

inline constexpr char kPlayerScript[] = "ZvStreamPlayer.js";

// Every file of the player, the script first. The build copies these very
// files (player/CMakeLists.txt reads this list), one name a line.
inline constexpr const char* kPlayerFiles[] = {
    kPlayerScript,
    "zvplayer_audio.js",
    "zvplayer_clip_stream.js",
    "zvplayer_decoder.js",
    "zvplayer_element.js",
    "zvplayer_media_session.js",
    "zvplayer_page.js",
    "zvplayer_player.js",
    "zvplayer_position_bar.js",
    "zvplayer_scheduler.js",
    "zvplayer_settings.js",
    "zvplayer_states.js",
    "zvplayer_stream_format.js",
    "zvplayer_view.js",
    "QV80W.wasm",
    "QV160MXW.wasm",
    "QV48W.wasm",
};

// Whether `name` (a file name without folder) is one of kPlayerFiles.
bool isPlayerFile(std::string_view name);

// The URL of the player script in the class folder `codebase`, a URL path
// that may be empty (the page's own folder) and may end in '/'.
std::string playerScriptUrl(std::string_view codebase);

// The element that loads the player script from `scriptUrl`:
//   <script src="URL" defer></script>
// with '&', '"', '<' and '>' of the URL written as character references, so
// that any URL stays inside its attribute. No line end.
std::string playerScriptElement(std::string_view scriptUrl);

// What <zv-stream-player> carries besides its clip: the applet's settings.
struct PlayerElementSettings {
  int buttons = 2;
  int count = 1;  // -1: without end
  bool autoplay = false;
  bool visible = true;
  int width = 64;
  int height = 32;
};

// The element that the web player's script makes into a player, for pages
// written by hand:
//   <zv-stream-player clip="CLIP" buttons="2" count="1" width="64" height="32"
//   autoplay visible>FALLBACK</zv-stream-player>
// (autoplay and visible only when set). The clip is written as it is given,
// a URL; every value is written with character references where HTML needs
// them, so that it stays inside its attribute or text. No line end.
std::string playerElement(std::string_view clip, const PlayerElementSettings& settings,
                          std::string_view fallbackText);

}  // namespace zv::player

#endif  // ZV_PLAYER_PLAYER_FILES_H
