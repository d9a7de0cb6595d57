// A text shared between threads, each access serialised by a mutex: the
// type of LastErrorText, which the source readers write and the input page
// (or the command line) reads.
#ifndef ZV_ENCODER_GUARDED_TEXT_H
#define ZV_ENCODER_GUARDED_TEXT_H

#include <mutex>
#include <string>

namespace zv {

class GuardedText {
 public:
  void set(std::string text) {
    std::lock_guard<std::mutex> lock(mutex_);
    text_ = std::move(text);
  }
  void clear() { set({}); }
  std::string get() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return text_;
  }

 private:
  mutable std::mutex mutex_;
  std::string text_;
};

}  // namespace zv

#endif  // ZV_ENCODER_GUARDED_TEXT_H
