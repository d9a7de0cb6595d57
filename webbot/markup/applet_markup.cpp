// The one source of the applet markup generator, built into both the encoder
// library and the web component library.
#include "webbot/markup/applet_markup.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/ascii_case.h"

namespace zv {

namespace {

constexpr std::size_t kInitialCapacity = 16384;

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

// Memory for the markup from malloc, as for the system string it ends in, so
// that every memory request on the way to the caller's string is one the
// C heap can refuse (and the allocation tests, which wrap malloc, can make
// it refuse). A refused request throws std::bad_alloc, which
// GenerateAppletMarkup() turns into its answer false.
template <typename T>
struct MallocAllocator {
  using value_type = T;
  MallocAllocator() = default;
  template <typename U>
  MallocAllocator(const MallocAllocator<U>&) noexcept {}
  T* allocate(std::size_t count) {
    if (count > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
    void* memory = std::malloc(count * sizeof(T));
    if (!memory) throw std::bad_alloc();
    return static_cast<T*>(memory);
  }
  void deallocate(T* memory, std::size_t) noexcept { std::free(memory); }
  friend bool operator==(const MallocAllocator&, const MallocAllocator&) { return true; }
};

using MarkupText = std::basic_string<char, std::char_traits<char>, MallocAllocator<char>>;

// The text under construction. It starts with room for 16,384 bytes, which
// every ordinary element fits in with one memory request; a longer one
// grows as a string grows.
class MarkupWriter {
 public:
  explicit MarkupWriter(std::int32_t lineEndFlag) : line_end_(lineEndFlag == 0 ? "\r\n" : "\n") {
    text_.reserve(kInitialCapacity);
  }

  void append(std::string_view piece) { text_.append(piece); }
  void append(std::int32_t number) { text_.append(std::to_string(number)); }
  void endLine() { text_.append(line_end_); }

  // Appends `value` for a double-quoted attribute: '"', '<', '>' and an '&'
  // that begins no character reference become &quot; &lt; &gt; &amp;. With
  // `asUrl`, the bytes that cannot stand in a URL are percent-encoded first.
  void appendAttributeValue(std::string_view value, bool asUrl) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (std::size_t i = 0; i < value.size(); ++i) {
      const char c = value[i];
      const auto byte = static_cast<unsigned char>(c);
      if (asUrl && cannotStandInUrl(byte)) {
        text_ += '%';
        text_ += kHex[byte >> 4];
        text_ += kHex[byte & 15];
      } else if (c == '"') {
        text_.append("&quot;");
      } else if (c == '<') {
        text_.append("&lt;");
      } else if (c == '>') {
        text_.append("&gt;");
      } else if (c == '&' && !beginsCharacterReference(value.substr(i))) {
        text_.append("&amp;");
      } else {
        text_ += c;
      }
    }
  }

  // " NAME=\"value\"" with the value encoded.
  void appendNamedAttribute(std::string_view name, std::string_view value, bool asUrl = false) {
    append(" ");
    append(name);
    append("=\"");
    appendAttributeValue(value, asUrl);
    append("\"");
  }

  // The other attributes after one space. A text whose every item is
  // well-formed is written exactly as it stands; otherwise each item is
  // written again, one space apart, with its value in double quotes and
  // encoded, and what cannot begin an attribute name is left out, so that
  // no text can end the opening tag early or leave a value open.
  void appendAttributeList(std::string_view list) {
    bool wellFormed = true;
    for (std::size_t pos = 0; pos < list.size();) {
      if (isHtmlSpace(list[pos])) {
        ++pos;
        continue;
      }
      if (!readAttributeItem(list, pos).asWritten) wellFormed = false;
    }
    if (wellFormed) {
      append(" ");
      append(list);
      return;
    }
    for (std::size_t pos = 0; pos < list.size();) {
      if (isHtmlSpace(list[pos])) {
        ++pos;
        continue;
      }
      const AttributeItem item = readAttributeItem(list, pos);
      if (item.name.empty()) continue;
      append(" ");
      if (item.asWritten) {
        append(item.text);
        continue;
      }
      append(item.name);
      if (item.hasValue) {
        append("=\"");
        appendAttributeValue(item.value, false);
        append("\"");
      }
    }
  }

  const char* text() const { return text_.c_str(); }

 private:
  std::string_view line_end_;
  MarkupText text_;
};

// Writes the element for an element-name tag (isElementName).
void writeMarkup(MarkupWriter& out, const AppletSettings& s, const char* clipReference) {
  const char* tag = orEmpty(s.tag);
  const char* className = orEmpty(s.className);
  const bool visible = s.visible != 0;
  const std::int32_t width = visible ? s.width : 0;
  const std::int32_t height = visible ? s.height : 0;

  // Opening tag: WIDTH before HEIGHT, then the class, CODEBASE, ALIGN and the
  // other attributes. Every quoted value is encoded here, so that no value
  // can end its attribute or the tag early, whoever made it.
  out.append("<");
  out.append(tag);
  out.append(" WIDTH=\"");
  out.append(width);
  out.append("\" HEIGHT=\"");
  out.append(height);
  out.append("\"");
  if (equalsIgnoringCase(tag, "APPLET")) {
    out.appendNamedAttribute("CODE", className);
  } else {
    out.append(" CODETYPE=\"application/java\" CLASSID=\"java:");
    out.appendAttributeValue(className, false);
    out.append("\"");
  }
  if (!isEmpty(s.codebase)) out.appendNamedAttribute("CODEBASE", s.codebase);
  if (!isEmpty(s.alignment)) out.appendNamedAttribute("ALIGN", s.alignment);
  if (!isEmpty(s.otherAttributes)) out.appendAttributeList(s.otherAttributes);
  out.append(">");
  out.endLine();

  // Parameters, each on its own line; the clip is a URL.
  out.append("    <PARAM NAME=\"Clip\" VALUE=\"");
  out.appendAttributeValue(orEmpty(clipReference), true);
  out.append("\">");
  out.endLine();
  out.append("    <PARAM NAME=\"Visible\" VALUE=\"");
  out.append(visible ? "yes" : "no");
  out.append("\">");
  out.endLine();
  if (visible) {
    out.append("    <PARAM NAME=\"Buttons\" VALUE=\"");
    out.append(s.buttonCount);
    out.append("\">");
    out.endLine();
  }
  out.append("    <PARAM NAME=\"Autoplay\" VALUE=\"");
  out.append(s.autoplay != 0 ? "yes" : "no");
  out.append("\">");
  out.endLine();
  out.append("    <PARAM NAME=\"Count\" VALUE=\"");
  out.append(s.playCount);
  out.append("\">");
  out.endLine();

  // The body text is content the author wrote in HTML: it stays as it is.
  if (!isEmpty(s.bodyText)) {
    out.append(s.bodyText);
    out.endLine();
  }
  out.append("</");
  out.append(tag);
  out.append(">");
  out.endLine();
}

}  // namespace

bool GenerateAppletMarkup(const AppletSettings& settings, const char* clipReference,
                          SystemString* slot, std::int32_t lineEndFlag) {
  if (!slot || !isElementName(orEmpty(settings.tag))) return false;
  try {
    MarkupWriter out(lineEndFlag);
    writeMarkup(out, settings, clipReference);
    if (*slot == nullptr) {
      SystemString fresh = SysAllocString(out.text());
      if (!fresh) return false;
      *slot = fresh;
      return true;
    }
    return SysReAllocString(slot, out.text());
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
}

}  // namespace zv
