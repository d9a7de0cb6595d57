// The exports of libZvEditBot.so: the component's entries with C linkage and
// the ordinal table through which a host may bind them by number.
#include <type_traits>

#include <zv/codec_api.h>
#include "webbot/edit/edit_entry.h"
#include "webbot/expand.h"
#include <zv/webbot_host.h>

extern "C" {

ZV_EXPORT void ZvTavelwork_Expand(void* outputHandle, void* attributeHandle, void* thirdHandle,
                                  void* fourthHandle, const ZvHostCallbacks* callbacks) {
  (void)thirdHandle;
  (void)fourthHandle;
  zv::webbot::expandComponent(outputHandle, attributeHandle, callbacks);
}

static_assert(std::is_same_v<decltype(&ZvTavelwork_Expand), ZvTavelworkExpandFn>);

ZV_EXPORT int32_t ZvTavelwork_Edit(void* attributeHandle, const ZvHostCallbacks* callbacks) {
  return zv::webbot::editComponent(attributeHandle, callbacks);
}

static_assert(std::is_same_v<decltype(&ZvTavelwork_Edit), ZvTavelworkEditFn>);

}  // extern "C"

namespace {

// Ordinal 1 is the Edit entry, ordinal 2 Expand.
const ZvEntryPoint kEntries[] = {
    reinterpret_cast<ZvEntryPoint>(&ZvTavelwork_Edit),
    reinterpret_cast<ZvEntryPoint>(&ZvTavelwork_Expand),
};

}  // namespace

extern "C" ZV_EXPORT const ZvOrdinalTable zv_ordinal_table = {
    sizeof kEntries / sizeof kEntries[0], kEntries};
