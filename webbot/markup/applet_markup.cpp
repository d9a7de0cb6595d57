// The one source of the applet markup generator, built into both the encoder
// library and the web component library.
#include "webbot/markup/applet_markup.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

  // Opening tag: WIDTH before HEIGHT, then the class, CODEBASE, ALIGN and the
  // other attributes.
  if (!out.appendFormatted(false, "<%s WIDTH=\"%d\" HEIGHT=\"%d\"", tag, width, height))
    return false;
  const bool classPieceOk =
      equalsIgnoringCase(tag, "APPLET")
          ? out.appendFormatted(false, " CODE=\"%s\"", className)
          : out.appendFormatted(false, " CODETYPE=\"application/java\" CLASSID=\"java:%s\"",
                                className);
  if (!classPieceOk) return false;
  if (!isEmpty(s.codebase) &&
      !out.appendFormatted(false, " %s=\"%s\"", "CODEBASE", s.codebase))
    return false;
  if (!isEmpty(s.alignment) && !out.appendFormatted(false, " %s=\"%s\"", "ALIGN", s.alignment))
    return false;
  if (!isEmpty(s.otherAttributes) &&
      !(out.append(" ", false) && out.append(s.otherAttributes, false)))
    return false;
  if (!out.append(">", true)) return false;

  // Parameters, each on its own line.
  if (!out.appendFormatted(true, "    <PARAM NAME=\"Clip\" VALUE=\"%s\">", orEmpty(clipReference)))
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
