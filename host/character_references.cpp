#include "host/character_references.h"

#include <cstdint>

namespace zv::host {

namespace {

struct NamedReference {
  std::string_view name;  // between '&' and ';'
  char character;
};

constexpr NamedReference kNamed[] = {
    {"quot", '"'}, {"amp", '&'}, {"lt", '<'},  {"gt", '>'},  {"apos", '\''},
    {"QUOT", '"'}, {"AMP", '&'}, {"LT", '<'},  {"GT", '>'},
};

void appendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

int digitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9') v = c - '0';
  else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  return v < base ? v : -1;
}

// The numeric reference "#..." (without '&' and ';'), or -1 when it is not a
// valid one.
long numericReference(std::string_view body) {
  if (body.size() < 2 || body[0] != '#') return -1;
  int base = 10;
  std::size_t i = 1;
  if (body[1] == 'x' || body[1] == 'X') {
    base = 16;
    i = 2;
  }
  if (i == body.size()) return -1;
  long code = 0;
  for (; i < body.size(); ++i) {
    const int digit = digitValue(body[i], base);
    if (digit < 0) return -1;
    code = code * base + digit;
    if (code > 0x10FFFF) return -1;
  }
  if (code == 0 || (code >= 0xD800 && code <= 0xDFFF)) return -1;
  return code;
}

}  // namespace

std::string decodeCharacterReferences(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  std::size_t i = 0;
  while (i < value.size()) {
    if (value[i] == '&') {
      // References are short ("&#x10FFFF;" is 10 bytes); a ';' further away
      // belongs to something else. 32 leaves room for leading zeros.
      const std::size_t semicolon = value.substr(i, 32).find(';');
      if (semicolon != std::string_view::npos) {
        const std::string_view body = value.substr(i + 1, semicolon - 1);
        bool decoded = false;
        for (const NamedReference& named : kNamed) {
          if (body == named.name) {
            out += named.character;
            decoded = true;
            break;
          }
        }
        if (!decoded) {
          const long code = numericReference(body);
          if (code > 0) {
            appendUtf8(out, static_cast<std::uint32_t>(code));
            decoded = true;
          }
        }
        if (decoded) {
          i += semicolon + 1;
          continue;
        }
      }
    }
    out += value[i++];
  }
  return out;
}

}  // namespace zv::host
