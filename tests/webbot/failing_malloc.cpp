#include "failing_malloc.h"

#include <cstddef>

extern "C" void* __real_malloc(std::size_t size);

namespace {
long callsUntilFailure = -1;  // -1: not armed
bool failed = false;
}  // namespace

extern "C" void* __wrap_malloc(std::size_t size) {
  if (callsUntilFailure >= 0) {
    if (callsUntilFailure == 0) {
      callsUntilFailure = -1;
      failed = true;
      return nullptr;
    }
    --callsUntilFailure;
  }
  return __real_malloc(size);
}

namespace zv::testing {

void failMallocCall(long callIndex) {
  failed = false;
  callsUntilFailure = callIndex;
}

bool stopFailingMalloc() {
  callsUntilFailure = -1;
  return failed;
}

}  // namespace zv::testing
