#include "platform/message_presenter.h"

#include <unistd.h>

#include <atomic>

namespace zv {

MessageAnswer StderrMessagePresenter::present(const MessageRequest& request) {
  // One write per message, so lines of parallel jobs do not interleave.
  std::string line = prefix_ + request.text + "\n";
  const char* data = line.data();
  size_t left = line.size();
  while (left > 0) {
    const ssize_t n = write(STDERR_FILENO, data, left);
    if (n <= 0) break;
    data += n;
    left -= static_cast<size_t>(n);
  }
  return request.kind == MessageKind::Question ? MessageAnswer::No : MessageAnswer::Ok;
}

namespace {

StderrMessagePresenter& fallbackPresenter() {
  static StderrMessagePresenter presenter;
  return presenter;
}

std::atomic<MessagePresenter*> current_presenter{nullptr};

}  // namespace

MessagePresenter& defaultMessagePresenter() {
  MessagePresenter* presenter = current_presenter.load();
  return presenter ? *presenter : fallbackPresenter();
}

void setDefaultMessagePresenter(MessagePresenter* presenter) { current_presenter.store(presenter); }

}  // namespace zv
