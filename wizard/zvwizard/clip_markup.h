// The markup for the player the wizard set up, naming the clip by another
// file name: for a clip saved under a name other than the one it was made
// with, so that the page finds it.
#ifndef ZV_WIZARD_ZVWIZARD_CLIP_MARKUP_H
#define ZV_WIZARD_ZVWIZARD_CLIP_MARKUP_H

#include <string>

#include <zv/zv_encoder.h>

namespace zv {

// What DoZvEncoder hands back for `record` had the clip been named
// `clipFileName` (lines end in LF); empty when the generator refuses.
std::string markupForClip(const WizardResult& record, const std::string& clipFileName);

}  // namespace zv

#endif  // ZV_WIZARD_ZVWIZARD_CLIP_MARKUP_H
