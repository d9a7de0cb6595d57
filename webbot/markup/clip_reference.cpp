#include "webbot/markup/clip_reference.h"

#include "platform/percent_encoding.h"

namespace zv {

std::string clipReferenceForPath(std::string_view relativePath) {
  return percentEncode(relativePath, "/");
}

std::string clipPathOfReference(std::string_view reference) { return percentDecode(reference); }

}  // namespace zv
