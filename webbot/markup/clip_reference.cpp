#include "webbot/markup/clip_reference.h"

#include "platform/percent_encoding.h"

namespace zv {

std::string ClipReferenceForPath(std::string_view relativePath) {
  return PercentEncode(relativePath, "/");
}

std::string ClipPathOfReference(std::string_view reference) { return PercentDecode(reference); }

}  // namespace zv
