#include "cli/terminal_output.h"

#include <unistd.h>

#include "platform/write_all.h"

namespace zv::cli {

namespace {
constexpr int kBarWidth = 30;
}

TerminalOutput::TerminalOutput(bool showProgress)
    : show_progress_(showProgress && isatty(STDERR_FILENO) == 1) {}

TerminalOutput::~TerminalOutput() {
  std::lock_guard<std::mutex> lock(mutex_);
  clearLocked();
}

void TerminalOutput::writeLocked(const std::string& text) { writeAll(STDERR_FILENO, text); }

void TerminalOutput::clearLocked() {
  if (drawn_.empty()) return;
  writeLocked("\r" + std::string(drawn_.size(), ' ') + "\r");
  drawn_.clear();
}

std::string TerminalOutput::barLocked() const {
  if (percent_.empty() || finished_ == percent_.size()) return {};
  unsigned total = 0;
  for (unsigned p : percent_) total += p;
  const unsigned overall = total / static_cast<unsigned>(percent_.size());
  const int filled = static_cast<int>(overall) * kBarWidth / 100;
  std::string text = "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '.') + "] " +
                     std::to_string(overall) + "%";
  if (percent_.size() > 1)
    text += "  (" + std::to_string(finished_) + " of " + std::to_string(percent_.size()) + " files)";
  return text;
}

void TerminalOutput::drawLocked() {
  if (!show_progress_) return;
  const std::string text = status_.empty() ? barLocked() : status_;
  if (text.empty() || text == drawn_) return;
  writeLocked("\r" + text);
  if (text.size() < drawn_.size()) writeLocked(std::string(drawn_.size() - text.size(), ' ') + "\r" + text);
  drawn_ = text;
}

void TerminalOutput::line(const std::string& text) {
  std::lock_guard<std::mutex> lock(mutex_);
  clearLocked();
  writeLocked(text + "\n");
  drawLocked();
}

void TerminalOutput::startFiles(std::size_t files) {
  std::lock_guard<std::mutex> lock(mutex_);
  percent_.assign(files, 0);
  finished_ = 0;
  drawLocked();
}

void TerminalOutput::progress(std::size_t slot, unsigned percent) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (slot >= percent_.size()) return;
  percent_[slot] = percent > 100 ? 100 : percent;
  drawLocked();
}

void TerminalOutput::finished(std::size_t slot) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (slot >= percent_.size()) return;
  percent_[slot] = 100;
  ++finished_;
  if (finished_ == percent_.size())
    clearLocked();
  else
    drawLocked();
}

void TerminalOutput::status(const std::string& text) {
  std::lock_guard<std::mutex> lock(mutex_);
  status_ = text;
  if (status_.empty()) clearLocked();
  drawLocked();
}

MessageAnswer CliMessagePresenter::present(const MessageRequest& request) {
  output_.line("zvsa: " + context_ + ": " + request.text);
  return request.kind == MessageKind::Question ? MessageAnswer::No : MessageAnswer::Ok;
}

}  // namespace zv::cli
