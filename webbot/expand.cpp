#include "webbot/expand.h"

#include <cstdlib>
#include <cstring>

#include "webbot/applet_attributes.h"
#include "webbot/component_attributes.h"
#include "webbot/markup/applet_markup.h"

namespace zv::webbot {

namespace {

// A malloc'd copy of a host text. The host's text stays valid only until its
// next call, so every text is copied before the next attribute is asked for.
class CopiedText {
 public:
  CopiedText() = default;
  ~CopiedText() { std::free(text_); }
  CopiedText(const CopiedText&) = delete;
  CopiedText& operator=(const CopiedText&) = delete;

  bool copy(const char* text) {
    const std::size_t size = std::strlen(text) + 1;
    text_ = static_cast<char*>(std::malloc(size));
    if (!text_) return false;
    std::memcpy(text_, text, size);
    return true;
  }
  const char* get() const { return text_; }

 private:
  char* text_ = nullptr;
};

// The six texts of the settings and the clip.
constexpr std::size_t kCopiedTexts = 7;

}  // namespace

void expandComponent(void* outputHandle, void* attributeHandle, const ZvHostCallbacks* callbacks) {
  if (!callbacks || !callbacks->GetAttribute || !callbacks->AppendOutput) return;

  const auto lookup = [&](const char* key) { return callbacks->GetAttribute(attributeHandle, key); };
  // Each text asked for is kept at once, in the next free copy: six for the
  // settings, then the clip's.
  CopiedText texts[kCopiedTexts];
  std::size_t copied = 0;
  const auto keep = [&](const char* text) -> const char* {
    CopiedText& copy = texts[copied++];
    return copy.copy(text) ? copy.get() : nullptr;
  };
  AppletSettings settings;
  if (!readAppletAttributes(lookup, keep, settings)) return;
  const char* clip = callbacks->GetAttribute(attributeHandle, kKeyClip);
  const char* clipReference = clip ? keep(clip) : nullptr;
  if (!clipReference) return;

  SystemString markup = nullptr;
  if (!GenerateAppletMarkup(settings, clipReference, &markup, kMarkupLinesEndLf)) return;
  callbacks->AppendOutput(outputHandle, markup);
  SysFreeString(markup);
}

}  // namespace zv::webbot
