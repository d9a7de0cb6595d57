// What the wizard hands back on Finish: the clip put in its place, the
// result record and the markup.
//
// The clip: a gallery clip is used where it lies ("<gallery>/<name>.zvsa",
// the user's gallery or the shipped one: gallery_folders.h); any other clip
// is the stream file the compression page made, renamed to "<output
// name>.zvsa" in its own folder (the temporary folder), replacing a file of
// that name. With "Add to gallery" ticked, it is then copied into the user's
// own gallery, never the shipped one; an existing file there is replaced
// only when the user says so (30300). A failed copy is reported with the system's reason and does
// not stop the wizard; a failed rename is reported and does (the caller
// keeps the wizard open rather than hand back a path to a missing file).
//
// Only placeFinishedClip() touches files; the preview of the markup uses
// finishedClipName() alone.
#ifndef ZV_WIZARD_WIZARD_RESULT_ASSEMBLY_H
#define ZV_WIZARD_WIZARD_RESULT_ASSEMBLY_H

#include <optional>
#include <string>

#include <zv/zv_encoder.h>
#include "webbot/markup/applet_values.h"
#include "wizard/wizard_state.h"

namespace zv {

// The clip's file name: "<gallery clip>.zvsa" or "<output name>.zvsa".
std::string finishedClipName(const WizardState& state);

struct PlacedClip {
  std::string name;  // file name, as finishedClipName()
  std::string path;  // full path of the clip file
};

// Finish mode, as described above. Nothing when the stream file could not
// be renamed into place (the user has been told why).
std::optional<PlacedClip> placeFinishedClip(const WizardState& state, const WizardServices& services);

// Copies `clipPath` to "<galleryDirectory>/<clipName>" (making the folder if
// needed) through a partial file, so that the gallery never holds half a
// clip. Asks 30300 first when the gallery file exists; reports a failed copy
// (an empty `galleryDirectory`, no folder at all, is one). True when the
// gallery now holds the copy.
bool addClipToGallery(const std::string& clipPath, const std::string& clipName,
                      const std::string& galleryDirectory, MessagePresenter& presenter);

// What the entry hands back after a Finish. With a markup slot and a placed
// clip: the record filled from `values` and the clip (fillWizardResult), and
// the markup made from the same values and the clip's name (lines end in
// LF) and stored in the slot (allocated when it is null, reallocated
// otherwise). Without a markup
// slot the record stays zeroed. Then the record is copied to `result` (the
// caller owns its strings), or, without one, its strings are freed.
// When the markup cannot be made, the user is told (10534), the slot and
// `result` are left as they were and the answer is false: the wizard then
// ends as cancelled.
bool handOverResult(const AppletValues& values, const std::optional<PlacedClip>& clip,
                    SystemString* markup, WizardResult* result, MessagePresenter& presenter);

}  // namespace zv

#endif  // ZV_WIZARD_WIZARD_RESULT_ASSEMBLY_H
