// The small window the pass shows while it adds the player's class files:
// a progress bar over 1..10 and one line of text. It is open from creation
// to destruction.
#ifndef ZV_INSERT_STATUS_DISPLAY_H
#define ZV_INSERT_STATUS_DISPLAY_H

#include <functional>
#include <memory>
#include <string>

namespace zv::insert {

inline constexpr int kStatusRangeFirst = 1;
inline constexpr int kStatusRangeLast = 10;

class StatusDisplay {
 public:
  virtual ~StatusDisplay() = default;
  // A value beyond the range leaves the bar where it is (at its end).
  virtual void setProgress(int value) = 0;
  virtual void setText(const std::string& text) = 0;
};

using StatusDisplayFactory = std::function<std::unique_ptr<StatusDisplay>()>;

}  // namespace zv::insert

#endif  // ZV_INSERT_STATUS_DISPLAY_H
