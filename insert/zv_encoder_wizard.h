// The wizard as the insertion program runs it: DoZvEncoder from
// libZvEncoder.so, its result record turned into owned texts.
#ifndef ZV_INSERT_ZV_ENCODER_WIZARD_H
#define ZV_INSERT_ZV_ENCODER_WIZARD_H

#include "insert/wizard_record.h"

namespace zv::insert {

// Runs DoZvEncoder(0, empty string slot, zeroed record) and says how it
// ended (wizardEndForAnswer). The system strings handed over are copied and
// freed. A Finish that hands over no clip file is a failure too: there is
// nothing to insert.
WizardRun runZvEncoderWizard();

}  // namespace zv::insert

#endif  // ZV_INSERT_ZV_ENCODER_WIZARD_H
