// Where a new clip goes when the user chose no place for it (the save
// dialog cancelled): into a folder that is the user's own and lasts, never
// left in the temporary folder, never over another clip.
#ifndef ZV_WIZARD_ZVWIZARD_KEPT_CLIP_H
#define ZV_WIZARD_ZVWIZARD_KEPT_CLIP_H

#include <optional>
#include <string>

namespace zv {

// Moves the clip `clipPath` ("<folder>/<name>.zvsa") into `folder`, made if
// needed, as "<name>.zvsa", or, when a different file has that name,
// "<name>-2.zvsa", "<name>-3.zvsa", ...: the first free one. A file there
// with the very same bytes (the clip added to the gallery on the output
// page) is the clip already kept: the moved one is then deleted. The path
// the clip has now; nothing when it could not be moved (it is then where it
// was).
std::optional<std::string> keepClipIn(const std::string& folder, const std::string& clipPath);

}  // namespace zv

#endif  // ZV_WIZARD_ZVWIZARD_KEPT_CLIP_H
