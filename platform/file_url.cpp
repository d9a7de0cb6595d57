#include "platform/file_url.h"

#include "platform/percent_encoding.h"

namespace zv {

std::string fileUrlForPath(std::string_view absolutePath) {
  return "file://" + percentEncode(absolutePath, "/!$()*+,;=:@");
}

}  // namespace zv
