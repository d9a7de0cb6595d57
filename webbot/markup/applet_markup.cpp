// The one source of the applet markup generator, built into both the encoder
// library and the web component library.
#include "webbot/markup/applet_markup.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/ascii_case.h"

namespace zv {

namespace {

constexpr std::size_t kInitialCapacity = 16384;
// Pieces are formatted here first; one that does not fit (more than 254
// characters) is formatted a second time straight into the text buffer, so
// nothing is cut and nothing overruns.
constexpr std::size_t kScratchBytes = 255;

const char* orEmpty(const char* text) { return text ? text : ""; }

bool isEmpty(const char* text) { return !text || text[0] == '\0'; }

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) {
  return isAsciiDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool isHtmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// True when `text` begins with a character reference: "&name;", "&#DDD;" or
// "&#xHHH;". Such an '&' is already markup (a host may hand a value back as
// it stands in the page, encoded) and is kept, so nothing is encoded twice.
bool beginsCharacterReference(std::string_view text) {
  if (text.size() < 3 || text[0] != '&') return false;
  std::size_t i = 1;
  if (text[i] == '#') {
    ++i;
    const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
    if (hex) ++i;
    const std::size_t digits = i;
    while (i < text.size() && (hex ? isHexDigit(text[i]) : isAsciiDigit(text[i]))) ++i;
    return i > digits && i < text.size() && text[i] == ';';
  }
  if (!isAsciiLetter(text[i])) return false;
  while (i < text.size() && (isAsciiLetter(text[i]) || isAsciiDigit(text[i]))) ++i;
  return i < text.size() && text[i] == ';';
}

// Bytes that never stand as they are in a URL: controls, space, non-ASCII
// and "<>\^`{|}. The URL's own syntax ('%', '#', '?', '/', ...) is left alone.
bool cannotStandInUrl(unsigned char c) {
  return c <= 0x20 || c >= 0x7F || std::strchr("\"<>\\^`{|}", c) != nullptr;
}

// An element name: a letter, then letters, digits, '-', '_', ':' or '.'.
// Nothing can make another text a name, so such a tag gives no markup.
bool isElementName(std::string_view name) {
  if (name.empty() || !isAsciiLetter(name[0])) return false;
  for (const char c : name) {
    if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != '-' && c != '_' && c != ':' && c != '.')
      return false;
  }
  return true;
}

// One item of an other-attributes text: a name, and a value when '=' follows.
struct AttributeItem {
  std::string_view name;
  std::string_view value;  // without its quotes
  bool hasValue = false;
  bool asWritten = false;  // the item's own text is already well-formed markup
  std::string_view text;   // the item as it stands
};

// Reads the item at `pos` (after white space), moving `pos` past it. An item
// that cannot start with a name (a stray quote, '<', '>', '/' or '=') is one
// byte with an empty name, which is dropped.
AttributeItem readAttributeItem(std::string_view list, std::size_t& pos) {
  auto endsName = [](char c) {
    return isHtmlSpace(c) || c == '"' || c == '\'' || c == '<' || c == '>' || c == '/' || c == '=';
  };
  auto endsUnquoted = [](char c) {
    return isHtmlSpace(c) || c == '"' || c == '\'' || c == '=' || c == '<' || c == '>' || c == '`';
  };
  AttributeItem item;
  const std::size_t begin = pos;
  while (pos < list.size() && !endsName(list[pos])) ++pos;
  item.name = list.substr(begin, pos - begin);
  if (item.name.empty()) {
    ++pos;
    return item;
  }
  item.asWritten = true;
  if (pos < list.size() && list[pos] == '=') {
    ++pos;
    item.hasValue = true;
    if (pos < list.size() && (list[pos] == '"' || list[pos] == '\'')) {
      const char quote = list[pos++];
      const std::size_t close = list.find(quote, pos);
      const std::size_t end = close == std::string_view::npos ? list.size() : close;
      item.value = list.substr(pos, end - pos);
      item.asWritten = close != std::string_view::npos;
      pos = close == std::string_view::npos ? list.size() : close + 1;
    } else {
      const std::size_t valueBegin = pos;
      while (pos < list.size() && !isHtmlSpace(list[pos])) {
        if (endsUnquoted(list[pos])) item.asWritten = false;
        ++pos;
      }
      item.value = list.substr(valueBegin, pos - valueBegin);
      if (item.value.empty()) item.asWritten = false;
    }
  }
  item.text = list.substr(begin, pos - begin);
  return item;
}

// The text under construction: one malloc'd buffer that starts at 16,384
// bytes and doubles whenever an append would not leave room for the
// terminating zero. Every memory request can fail; the owner then gives up
// and the destructor releases what was built.
class MarkupBuffer {
 public:
  explicit MarkupBuffer(std::int32_t lineEndFlag)
      : lineEnd_(lineEndFlag == 0 ? "\r\n" : "\n"), lineEndLength_(lineEndFlag == 0 ? 2 : 1) {}
  ~MarkupBuffer() { std::free(text_); }
  MarkupBuffer(const MarkupBuffer&) = delete;
  MarkupBuffer& operator=(const MarkupBuffer&) = delete;

  bool start() {
    text_ = static_cast<char*>(std::malloc(kInitialCapacity));
    if (!text_) return false;
    capacity_ = kInitialCapacity;
    text_[0] = '\0';
    return true;
  }

  // Appends `length` bytes of `piece`, then the line end when asked.
  bool append(const char* piece, std::size_t length, bool withLineEnd) {
    if (!reserve(length, withLineEnd)) return false;
    std::memcpy(text_ + length_, piece, length);
    length_ += length;
    if (withLineEnd) appendLineEnd();
    return true;
  }

  bool append(const char* text, bool withLineEnd) {
    return append(text, std::strlen(text), withLineEnd);
  }

  // Formats one piece with printf rules and appends it, then the line end
  // when asked.
  __attribute__((format(printf, 3, 4))) bool appendFormatted(bool withLineEnd, const char* format,
                                                             ...) {
    char scratch[kScratchBytes];
    va_list args;
    va_start(args, format);
    const int measured = std::vsnprintf(scratch, sizeof scratch, format, args);
    va_end(args);
    if (measured < 0) return false;
    const auto length = static_cast<std::size_t>(measured);
    if (length < sizeof scratch) return append(scratch, length, withLineEnd);

    if (!reserve(length, withLineEnd)) return false;
    va_start(args, format);
    std::vsnprintf(text_ + length_, length + 1, format, args);
    va_end(args);
    length_ += length;
    if (withLineEnd) appendLineEnd();
    return true;
  }

  // Appends `value` for a double-quoted attribute: '"', '<', '>' and an '&'
  // that begins no character reference become &quot; &lt; &gt; &amp;. With
  // `asUrl`, the bytes that cannot stand in a URL are percent-encoded first.
  bool appendAttributeValue(std::string_view value, bool asUrl) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (std::size_t i = 0; i < value.size(); ++i) {
      const char c = value[i];
      const auto byte = static_cast<unsigned char>(c);
      bool ok = true;
      if (asUrl && cannotStandInUrl(byte)) {
        const char encoded[3] = {'%', kHex[byte >> 4], kHex[byte & 15]};
        ok = append(encoded, 3, false);
      } else if (c == '"') {
        ok = append("&quot;", false);
      } else if (c == '<') {
        ok = append("&lt;", false);
      } else if (c == '>') {
        ok = append("&gt;", false);
      } else if (c == '&' && !beginsCharacterReference(value.substr(i))) {
        ok = append("&amp;", false);
      } else {
        ok = append(&c, 1, false);
      }
      if (!ok) return false;
    }
    return true;
  }

  // " NAME=\"value\"" with the value encoded.
  bool appendNamedAttribute(const char* name, std::string_view value, bool asUrl = false) {
    return append(" ", false) && append(name, false) && append("=\"", false) &&
           appendAttributeValue(value, asUrl) && append("\"", false);
  }

  // The other attributes after one space. A text whose every item is
  // well-formed is written exactly as it stands; otherwise each item is
  // written again, one space apart, with its value in double quotes and
  // encoded, and what cannot begin an attribute name is left out, so that
  // no text can end the opening tag early or leave a value open.
  bool appendAttributeList(std::string_view list) {
    bool wellFormed = true;
    for (std::size_t pos = 0; pos < list.size();) {
      if (isHtmlSpace(list[pos])) {
        ++pos;
        continue;
      }
      if (!readAttributeItem(list, pos).asWritten) wellFormed = false;
    }
    if (wellFormed) return append(" ", false) && append(list.data(), list.size(), false);
    for (std::size_t pos = 0; pos < list.size();) {
      if (isHtmlSpace(list[pos])) {
        ++pos;
        continue;
      }
      const AttributeItem item = readAttributeItem(list, pos);
      if (item.name.empty()) continue;
      const bool ok = item.asWritten
                          ? append(" ", false) && append(item.text.data(), item.text.size(), false)
                          : append(" ", false) && append(item.name.data(), item.name.size(), false) &&
                                (!item.hasValue ||
                                 (append("=\"", false) && appendAttributeValue(item.value, false) &&
                                  append("\"", false)));
      if (!ok) return false;
    }
    return true;
  }

  const char* text() const { return text_; }

 private:
  // Makes room for `pieceLength` more bytes, the line end when one follows,
  // and the terminating zero.
  bool reserve(std::size_t pieceLength, bool withLineEnd) {
    const std::size_t extra = pieceLength + (withLineEnd ? lineEndLength_ : 0) + 1;
    if (extra > SIZE_MAX - length_) return false;
    const std::size_t needed = length_ + extra;
    if (needed <= capacity_) return true;
    std::size_t capacity = capacity_;
    while (capacity < needed) {
      if (capacity > SIZE_MAX / 2) return false;
      capacity *= 2;
    }
    auto* larger = static_cast<char*>(std::malloc(capacity));
    if (!larger) return false;
    std::memcpy(larger, text_, length_ + 1);
    std::free(text_);
    text_ = larger;
    capacity_ = capacity;
    return true;
  }

  // Only after reserve() made room for it.
  void appendLineEnd() {
    std::memcpy(text_ + length_, lineEnd_, lineEndLength_);
    length_ += lineEndLength_;
    text_[length_] = '\0';
  }

  char* text_ = nullptr;
  std::size_t length_ = 0;    // bytes of text, without the zero
  std::size_t capacity_ = 0;  // bytes of the buffer
  const char* lineEnd_;
  std::size_t lineEndLength_;
};

bool buildMarkup(MarkupBuffer& out, const AppletSettings& s, const char* clipReference) {
  const char* tag = orEmpty(s.tag);
  const char* className = orEmpty(s.className);
  const bool visible = s.visible != 0;
  const int width = visible ? s.width : 0;
  const int height = visible ? s.height : 0;
  if (!isElementName(tag)) return false;

  // Opening tag: WIDTH before HEIGHT, then the class, CODEBASE, ALIGN and the
  // other attributes. Every quoted value is encoded here, so that no value
  // can end its attribute or the tag early, whoever made it.
  if (!out.appendFormatted(false, "<%s WIDTH=\"%d\" HEIGHT=\"%d\"", tag, width, height))
    return false;
  const bool classPieceOk =
      equalsIgnoringCase(tag, "APPLET")
          ? out.appendNamedAttribute("CODE", className)
          : out.append(" CODETYPE=\"application/java\" CLASSID=\"java:", false) &&
                out.appendAttributeValue(className, false) && out.append("\"", false);
  if (!classPieceOk) return false;
  if (!isEmpty(s.codebase) && !out.appendNamedAttribute("CODEBASE", s.codebase)) return false;
  if (!isEmpty(s.alignment) && !out.appendNamedAttribute("ALIGN", s.alignment)) return false;
  if (!isEmpty(s.otherAttributes) && !out.appendAttributeList(s.otherAttributes)) return false;
  if (!out.append(">", true)) return false;

  // Parameters, each on its own line; the clip is a URL.
  if (!(out.append("    <PARAM NAME=\"Clip\" VALUE=\"", false) &&
        out.appendAttributeValue(orEmpty(clipReference), true) && out.append("\">", true)))
    return false;
  if (!out.appendFormatted(true, "    <PARAM NAME=\"Visible\" VALUE=\"%s\">",
                           visible ? "yes" : "no"))
    return false;
  if (visible &&
      !out.appendFormatted(true, "    <PARAM NAME=\"Buttons\" VALUE=\"%d\">", s.buttonCount))
    return false;
  if (!out.appendFormatted(true, "    <PARAM NAME=\"Autoplay\" VALUE=\"%s\">",
                           s.autoplay != 0 ? "yes" : "no"))
    return false;
  if (!out.appendFormatted(true, "    <PARAM NAME=\"Count\" VALUE=\"%d\">", s.playCount))
    return false;

  // The body text is content the author wrote in HTML: it stays as it is.
  if (!isEmpty(s.bodyText) && !out.append(s.bodyText, true)) return false;
  return out.appendFormatted(true, "</%s>", tag);
}

}  // namespace

bool GenerateAppletMarkup(const AppletSettings& settings, const char* clipReference,
                          SystemString* slot, std::int32_t lineEndFlag) {
  if (!slot) return false;
  MarkupBuffer out(lineEndFlag);
  if (!out.start() || !buildMarkup(out, settings, clipReference)) return false;

  if (*slot == nullptr) {
    SystemString fresh = SysAllocString(out.text());
    if (!fresh) return false;
    *slot = fresh;
    return true;
  }
  return SysReAllocString(slot, out.text());
}

}  // namespace zv
