// Millisecond tick count: the stand-in for the system's tick counter, used to
// throttle progress messages. Monotonic (steady_clock), so it never jumps
// back when the wall clock is changed.
//
// Code that throttles by time takes a TickSource, so that tests can drive
// time by hand instead of measuring it.
#ifndef ZV_PLATFORM_TICK_COUNT_H
#define ZV_PLATFORM_TICK_COUNT_H

#include <cstdint>
#include <functional>

namespace zv {

// Milliseconds since an arbitrary fixed point in the past.
std::uint64_t tickCountMs();

// A source of millisecond ticks; tickCountMs unless a test injects another.
using TickSource = std::function<std::uint64_t()>;

}  // namespace zv

#endif  // ZV_PLATFORM_TICK_COUNT_H
