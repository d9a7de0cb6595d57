#include "wizard/job_failure_message.h"

#include "encoder/codec_library.h"
#include "encoder/engine_strings.h"
#include "wizard/wizard_strings.h"

namespace zv {

namespace {

// The engine's reason, and for a library that would not load, which library
// and why: loading it once more gives the loader's own explanation.
std::string reasonFor(JobEnd end, CodecTable codecs, int codecIndex) {
  std::string reason = describeJobEnd(end);
  if (end != JobEnd::LibraryNotLoaded) return reason;
  const CodecTableEntry* row = codecTableRow(codecs, codecIndex);
  if (!row) return reason;
  reason += std::string(" (\"") + row->libraryFile + "\"";
  CodecLibrary library;
  if (!library.load(*row) && !library.loadError().empty()) reason += ": " + library.loadError();
  reason += ")";
  return reason;
}

}  // namespace

std::string jobFailureText(JobMode mode, JobEnd end, CodecTable codecs, int codecIndex) {
  if (end == JobEnd::Completed || end == JobEnd::Cancelled || end == JobEnd::OutOfMemory) return {};
  const unsigned id = mode == JobMode::Decode ? kIdsDecompressionFailed : kIdsCompressionFailed;
  return wizardMessage(id, reasonFor(end, codecs, codecIndex));
}

void showJobFailure(MessagePresenter& presenter, JobMode mode, JobEnd end, CodecTable codecs,
                    int codecIndex) {
  const std::string text = jobFailureText(mode, end, codecs, codecIndex);
  if (!text.empty()) showEngineText(presenter, text);
}

}  // namespace zv
