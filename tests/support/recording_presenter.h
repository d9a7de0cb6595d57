// A message presenter for tests: records every message shown and answers
// questions from a script (No once the script is used up).
#ifndef ZV_TESTS_SUPPORT_RECORDING_PRESENTER_H
#define ZV_TESTS_SUPPORT_RECORDING_PRESENTER_H

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/message_presenter.h"

namespace zv::test {

class RecordingPresenter : public MessagePresenter {
 public:
  MessageAnswer present(const MessageRequest& request) override {
    std::lock_guard<std::mutex> lock(mutex_);
    shown_.push_back(request);
    if (request.kind == MessageKind::Information) return MessageAnswer::Ok;
    if (answers_.empty()) return MessageAnswer::No;
    const MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
  }

  void scriptAnswer(MessageAnswer answer) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_.push_back(answer);
  }

  std::vector<MessageRequest> shown() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return shown_;
  }

  // The texts shown, in order.
  std::vector<std::string> texts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> out;
    for (const auto& request : shown_) out.push_back(request.text);
    return out;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<MessageRequest> shown_;
  std::deque<MessageAnswer> answers_;
};

}  // namespace zv::test

#endif  // ZV_TESTS_SUPPORT_RECORDING_PRESENTER_H
