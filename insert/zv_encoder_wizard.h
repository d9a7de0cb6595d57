// The wizard as the insertion program runs it: DoZvEncoder from
// libZvEncoder.so, its result record turned into owned texts.
#ifndef ZV_INSERT_ZV_ENCODER_WIZARD_H
#define ZV_INSERT_ZV_ENCODER_WIZARD_H

#include <optional>

#include "insert/wizard_record.h"

namespace zv::insert {

// Runs DoZvEncoder(0, empty string slot, zeroed record). nullopt unless the
// author finished the wizard (12325). The system strings handed over are
// copied and freed.
std::optional<WizardRecord> RunZvEncoderWizard();

}  // namespace zv::insert

#endif  // ZV_INSERT_ZV_ENCODER_WIZARD_H
