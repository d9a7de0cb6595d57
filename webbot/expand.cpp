#include "webbot/expand.h"

#include <cstdlib>
#include <cstring>

#include "webbot/attribute_integer.h"
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

constexpr std::size_t kIntegerKeys = 6;
constexpr std::size_t kTextKeys = kExpandKeyCount - kIntegerKeys;  // six settings and the clip

}  // namespace

void ExpandComponent(void* outputHandle, void* attributeHandle, const ZvHostCallbacks* callbacks) {
  if (!callbacks || !callbacks->GetAttribute || !callbacks->AppendOutput) return;

  AppletSettings settings;
  std::int32_t* const integers[kIntegerKeys] = {&settings.buttonCount, &settings.autoplay,
                                                &settings.visible,     &settings.playCount,
                                                &settings.height,      &settings.width};
  for (std::size_t i = 0; i < kIntegerKeys; ++i) {
    const char* value = callbacks->GetAttribute(attributeHandle, kExpandKeys[i]);
    if (!value) return;
    *integers[i] = AttributeInteger(value);
  }

  CopiedText texts[kTextKeys];
  for (std::size_t i = 0; i < kTextKeys; ++i) {
    const char* value = callbacks->GetAttribute(attributeHandle, kExpandKeys[kIntegerKeys + i]);
    if (!value || !texts[i].copy(value)) return;
  }
  settings.className = texts[0].get();
  settings.codebase = texts[1].get();
  settings.tag = texts[2].get();
  settings.alignment = texts[3].get();
  settings.bodyText = texts[4].get();
  settings.otherAttributes = texts[5].get();
  const char* clipReference = texts[6].get();

  SystemString markup = nullptr;
  if (!GenerateAppletMarkup(settings, clipReference, &markup, kMarkupLinesEndLf)) return;
  callbacks->AppendOutput(outputHandle, markup);
  SysFreeString(markup);
}

}  // namespace zv::webbot
