#include "platform/message_presenter.h"

#include <unistd.h>

#include "platform/write_all.h"

namespace zv {

MessageAnswer StderrMessagePresenter::present(const MessageRequest& request) {
  // One write per message, so lines of parallel jobs do not interleave.
  writeAll(STDERR_FILENO, prefix_ + request.text + "\n");
  return request.kind == MessageKind::Question ? MessageAnswer::No : MessageAnswer::Ok;
}

}  // namespace zv
