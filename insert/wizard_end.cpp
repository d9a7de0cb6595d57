#include <zv/zv_encoder.h>

#include "insert/wizard_record.h"

namespace zv::insert {

WizardEnd wizardEndForAnswer(std::int32_t answer) {
  if (answer == ZV_WIZARD_FINISHED) return WizardEnd::Finished;
  if (answer == ZV_WIZARD_CANCELLED) return WizardEnd::Cancelled;
  return WizardEnd::Failed;
}

}  // namespace zv::insert
