#include "webbot/attribute_encoding.h"

namespace zv::webbot {

std::string encodeAttributeValue(std::string_view value) {
  std::string encoded;
  encoded.reserve(value.size());
  for (char c : value) {
    switch (c) {
      case '"': encoded += "&quot;"; break;
      case '&': encoded += "&amp;"; break;
      case '>': encoded += "&gt;"; break;
      default: encoded += c; break;
    }
  }
  return encoded;
}

std::string decodeAttributeValue(std::string_view encoded) {
  struct Form {
    std::string_view text;
    char character;
  };
  static constexpr Form kForms[] = {{"&quot;", '"'}, {"&amp;", '&'}, {"&gt;", '>'}};

  std::string decoded;
  decoded.reserve(encoded.size());
  size_t i = 0;
  while (i < encoded.size()) {
    bool matched = false;
    if (encoded[i] == '&') {
      for (const Form& form : kForms) {
        if (encoded.substr(i, form.text.size()) == form.text) {
          decoded += form.character;
          i += form.text.size();
          matched = true;
          break;
        }
      }
    }
    if (!matched) decoded += encoded[i++];
  }
  return decoded;
}

}  // namespace zv::webbot
