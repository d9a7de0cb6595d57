// Publishes arbitrary page text the way webhost does, with the component's
// real Expand code, and publishes the result again. The parser and the value
// checks must never read outside the page, and a page that publishes must
// publish to itself again: the WEBBOT comments are kept, so a published page
// is a page like any other.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/page_publisher.h"
#include "webbot/expand.h"

namespace {

void expandEntry(void* outputHandle, void* attributeHandle, void*, void*,
                 const ZvHostCallbacks* callbacks) {
  zv::webbot::expandComponent(outputHandle, attributeHandle, callbacks);
}

ZvTavelworkExpandFn source(std::string&) { return &expandEntry; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view page(reinterpret_cast<const char*>(data), size);
  const zv::host::PublishedPage first = zv::host::publishPage(page, source);
  if (!first.ok) return 0;
  const zv::host::PublishedPage second = zv::host::publishPage(first.text, source);
  if (!second.ok || second.text != first.text) std::abort();
  return 0;
}
