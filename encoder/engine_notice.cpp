#include "encoder/engine_notice.h"

#include <cstring>

#include "encoder/engine_strings.h"

namespace zv {

std::string systemWording(const EngineNotice& notice) {
  const unsigned id =
      notice.id == kNoticePcmWorkFileNotWritten ? unsigned{kIdsFileDoesNotExist} : notice.id;
  return engineMessage(id, notice.value);
}

std::string osReason(int osError) {
  if (osError == 0) return {};
  char buffer[256];
  // The GNU strerror_r returns its text, which may or may not be `buffer`.
  return ::strerror_r(osError, buffer, sizeof buffer);
}

}  // namespace zv
