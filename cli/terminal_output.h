// Everything zvsa writes to stderr goes through here: message lines, the
// closing summaries and, when stderr is a terminal, one progress line (a
// bar, or a status text such as play's time) that is rewritten in place
// with '\r' and cleared before any other line is printed. Safe to use from several job threads at once.
#ifndef ZV_CLI_TERMINAL_OUTPUT_H
#define ZV_CLI_TERMINAL_OUTPUT_H

#include <mutex>
#include <string>
#include <vector>

#include "platform/message_presenter.h"

namespace zv::cli {

class TerminalOutput {
 public:
  // showProgress: draw the progress line (only honoured on a terminal).
  explicit TerminalOutput(bool showProgress);
  ~TerminalOutput();

  // Prints one line (a newline is added) above the progress line.
  void line(const std::string& text);

  // Declares `files` files to follow the progress of.
  void startFiles(std::size_t files);
  // Percent done (0..100) of file `slot`; redraws when the line changes.
  void progress(std::size_t slot, unsigned percent);
  // File `slot` is finished (counts as 100).
  void finished(std::size_t slot);

  // Shows `text` as the progress line instead of the bar; "" takes it away.
  void status(const std::string& text);

 private:
  void clearLocked();
  std::string barLocked() const;  // "" when there is no bar to show
  void drawLocked();
  void writeLocked(const std::string& text);

  std::mutex mutex_;
  bool show_progress_;
  std::vector<unsigned> percent_;
  std::size_t finished_ = 0;
  std::string status_;
  std::string drawn_;
};

// A message presenter for the engine's messages: "zvsa: <context>: <text>"
// through the terminal output. Questions are answered No.
class CliMessagePresenter : public MessagePresenter {
 public:
  CliMessagePresenter(TerminalOutput& output, std::string context)
      : output_(output), context_(std::move(context)) {}
  MessageAnswer present(const MessageRequest& request) override;

 private:
  TerminalOutput& output_;
  std::string context_;
};

}  // namespace zv::cli

#endif  // ZV_CLI_TERMINAL_OUTPUT_H
