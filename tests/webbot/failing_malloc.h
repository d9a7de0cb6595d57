// Makes one chosen malloc call fail. The test program is linked with
// -Wl,--wrap=malloc, so every malloc call from the objects in its link (the
// markup generator, the system strings, Expand) goes through here; calls made
// inside the shared C++ runtime are not affected.
#ifndef ZV_TESTS_WEBBOT_FAILING_MALLOC_H
#define ZV_TESTS_WEBBOT_FAILING_MALLOC_H

namespace zv::testing {

// From now on, the malloc call numbered `callIndex` (0 = the next one) fails.
void failMallocCall(long callIndex);

// Stops failing calls; returns true when a call was made to fail since the
// last failMallocCall.
bool stopFailingMalloc();

}  // namespace zv::testing

#endif  // ZV_TESTS_WEBBOT_FAILING_MALLOC_H
