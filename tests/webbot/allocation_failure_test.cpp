// Every memory request of the markup generator and of Expand is made to fail
// in turn: the generator must report failure and leave the caller's slot as
// it was, Expand must append nothing, and nothing may leak (AddressSanitizer's
// leak check runs at exit in the sanitizer build).
#include <gtest/gtest.h>

#include <string>

#include "failing_malloc.h"
#include "test_host.h"
#include "webbot/expand.h"
#include "webbot/markup/applet_markup.h"

namespace {

zv::AppletSettings settingsWithBody(const char* body) {
  return {.buttonCount = 2, .autoplay = 0, .visible = 1, .playCount = 1, .height = 32,
          .width = 64, .className = "ZvStreamPlayer.class", .codebase = "/Java/ZvTavelwork",
          .tag = "APPLET", .alignment = "middle", .bodyText = body, .otherAttributes = ""};
}

// Fails the first, second, ... request until a run completes without an
// injected failure; returns how many requests were made to fail.
long failEachRequest(const zv::AppletSettings& settings, bool slotHoldsAString) {
  long failures = 0;
  for (long call = 0;; ++call) {
    zv::SystemString slot = slotHoldsAString ? zv::SysAllocString("the caller's text") : nullptr;
    const zv::SystemString before = slot;
    zv::testing::failMallocCall(call);
    const bool stored = zv::GenerateAppletMarkup(settings, "clip.zvsa", &slot, 1);
    const bool injected = zv::testing::stopFailingMalloc();
    if (!injected) {
      EXPECT_TRUE(stored);
      EXPECT_NE(slot, nullptr);
      zv::SysFreeString(slot);
      return failures;
    }
    ++failures;
    EXPECT_FALSE(stored) << "request " << call;
    EXPECT_EQ(slot, before) << "request " << call;
    if (slotHoldsAString) {
      EXPECT_STREQ(slot, "the caller's text");
    }
    zv::SysFreeString(slot);
  }
}

TEST(AllocationFailure, GeneratorLeavesTheSlotUntouched) {
  // A short text takes two requests: the first buffer and the system string.
  EXPECT_EQ(failEachRequest(settingsWithBody("short"), false), 2);
  EXPECT_EQ(failEachRequest(settingsWithBody("short"), true), 2);
  // A 20,000-byte body also needs the doubled buffer: three requests.
  const std::string body(20000, 'b');
  EXPECT_EQ(failEachRequest(settingsWithBody(body.c_str()), false), 3);
  EXPECT_EQ(failEachRequest(settingsWithBody(body.c_str()), true), 3);
}

TEST(AllocationFailure, ExpandAppendsNothing) {
  TestHostAttributes attributes{};
  const std::pair<const char*, const char*> component[] = {
      {"I-NUMBUTTONS", "2"}, {"I-AUTOPLAY", "0"},  {"I-VISIBLE", "1"},
      {"I-COUNT", "1"},      {"I-HEIGHT", "32"},   {"I-WIDTH", "64"},
      {"S-CLASS", "ZvStreamPlayer.class"},         {"S-CODEBASE", "/Java/ZvTavelwork"},
      {"S-APPLETTAG", "APPLET"},                   {"S-ALIGN", "middle"},
      {"S-BODY", "No Java."},                      {"S-ATTRIBS", ""},
      {"S-CLIP", "clip.zvsa"}};
  for (const auto& [key, value] : component) test_host_set(&attributes, key, value);
  const ZvHostCallbacks table = test_host_callbacks();

  long failures = 0;
  for (long call = 0;; ++call) {
    TestHostOutput output{};
    zv::testing::failMallocCall(call);
    zv::webbot::expandComponent(&output, &attributes, &table);
    if (!zv::testing::stopFailingMalloc()) {
      EXPECT_EQ(output.appendCalls, 1);
      break;
    }
    ++failures;
    EXPECT_EQ(output.appendCalls, 0) << "request " << call;
  }
  // Seven copied texts, the markup buffer and the system string.
  EXPECT_EQ(failures, 9);
}

}  // namespace
