// Conversion of an integer attribute value to a 32-bit number.
#ifndef ZV_WEBBOT_ATTRIBUTE_INTEGER_H
#define ZV_WEBBOT_ATTRIBUTE_INTEGER_H

#include <cstdint>

namespace zv::webbot {

// Reads `text` as a base-10 number the way strtol does: leading white space,
// an optional sign, then digits up to the first non-digit; no digits give 0.
// Values beyond the 32-bit range give the nearest limit (INT32_MIN or
// INT32_MAX), however many digits follow. Null gives 0. Does not allocate.
std::int32_t attributeInteger(const char* text);

}  // namespace zv::webbot

#endif  // ZV_WEBBOT_ATTRIBUTE_INTEGER_H
