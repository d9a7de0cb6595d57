#include "webbot/attribute_integer.h"

#include <cstdlib>

namespace zv::webbot {

std::int32_t attributeInteger(const char* text) {
  if (!text) return 0;
  // strtol saturates at the limits of long (64 bits here); narrowing that to
  // 32 bits by clamping gives the same result as a 32-bit long would.
  const long value = std::strtol(text, nullptr, 10);
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(value);
}

}  // namespace zv::webbot
