#include "platform/file_url.h"

#include "platform/percent_encoding.h"

namespace zv {

std::string FileUrlForPath(std::string_view absolutePath) {
  return "file://" + PercentEncode(absolutePath, "/!$()*+,;=:@");
}

}  // namespace zv
