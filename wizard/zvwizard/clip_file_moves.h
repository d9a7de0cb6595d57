// Putting a finished clip where the user wants it, for both of zvwizard's
// roads (the terminal's and the windows'). A gallery clip is copied (the
// gallery keeps it), a new clip moved out of the wizard's run folder.
//
// Neither ever leaves half a clip under the target's name: a copy goes to a
// partial file beside the target first. Without `replace` an existing target
// is never replaced, even one that appeared a moment ago (link() refuses an
// existing name); with it, rename() replaces in one step.
#ifndef ZV_WIZARD_ZVWIZARD_CLIP_FILE_MOVES_H
#define ZV_WIZARD_ZVWIZARD_CLIP_FILE_MOVES_H

#include <string>

namespace zv {

// Copies `from` to `to`. Empty on success, else the system's reason.
std::string copyClipFile(const std::string& from, const std::string& to, bool replace);

// Moves `from` to `to`: a rename (or link and unlink) where the file system
// allows it, a copy and delete across file systems. Empty on success, else
// the system's reason; `from` is then where it was.
std::string moveClipFile(const std::string& from, const std::string& to, bool replace);

}  // namespace zv

#endif  // ZV_WIZARD_ZVWIZARD_CLIP_FILE_MOVES_H
