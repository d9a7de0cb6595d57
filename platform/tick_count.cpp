#include "platform/tick_count.h"

#include <chrono>

namespace zv {

std::uint64_t tickCountMs() {
  using namespace std::chrono;
  return static_cast<std::uint64_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace zv
