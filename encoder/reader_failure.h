// How every source reader fails: it records the notice, worded for whoever
// reads LastErrorText, and returns false. One helper so that no reader can
// fail without a text or word it differently from the others.
#ifndef ZV_ENCODER_READER_FAILURE_H
#define ZV_ENCODER_READER_FAILURE_H

#include <string>
#include <string_view>

#include "encoder/engine_notice.h"
#include "encoder/guarded_text.h"

namespace zv {

class FailureReport {
 public:
  // Implicit on purpose: a reader given only LastErrorText words its
  // failures with the system's texts.
  FailureReport(GuardedText& lastError, MessageWording wording = systemWording)  // NOLINT
      : last_error_(lastError), wording_(wording) {}

  // Sets LastErrorText to the worded notice; always false, so a reader can
  // `return report.fail(...)`.
  bool fail(const EngineNotice& notice) const {
    last_error_.set(wording_(notice));
    return false;
  }
  bool fail(unsigned id, std::string_view value = {}) const {
    return fail(EngineNotice{id, std::string(value), {}});
  }
  // A failed file operation: `osError` is its errno (0 when it ended
  // without one, e.g. at an early end of file).
  bool failFileOperation(unsigned id, std::string_view value, int osError) const {
    return fail(EngineNotice{id, std::string(value), osReason(osError)});
  }

  MessageWording wording() const { return wording_; }

 private:
  GuardedText& last_error_;
  MessageWording wording_;
};

}  // namespace zv

#endif  // ZV_ENCODER_READER_FAILURE_H
