// The message layer: how a text from a string table reaches the user.
//
// Every failure the system reports is one modal message: a caption (the
// application title), a text, and either an OK button (information, shown
// with the warning icon) or Yes and No buttons (a question). Who shows it is
// pluggable: the Qt message box in the wizard, stderr in the command line, a
// scripted recorder in the tests.
//
// present() is called on whichever thread raises the message (the jobs raise
// their memory message on the worker thread); an implementation must be safe
// for that.
#ifndef ZV_PLATFORM_MESSAGE_PRESENTER_H
#define ZV_PLATFORM_MESSAGE_PRESENTER_H

#include <string>
#include <utility>

namespace zv {

enum class MessageKind { Information, Question };
enum class MessageAnswer { Ok, Yes, No };

struct MessageRequest {
  std::string caption;
  std::string text;
  MessageKind kind = MessageKind::Information;
};

class MessagePresenter {
 public:
  virtual ~MessagePresenter() = default;
  // Shows the message and returns the user's answer: Ok for information,
  // Yes or No for a question.
  virtual MessageAnswer present(const MessageRequest& request) = 0;
};

// Writes "<prefix><text>" and a newline to stderr in one write; answers Ok to
// information and No to questions (nobody can answer).
class StderrMessagePresenter : public MessagePresenter {
 public:
  explicit StderrMessagePresenter(std::string prefix = {}) : prefix_(std::move(prefix)) {}
  MessageAnswer present(const MessageRequest& request) override;

 private:
  std::string prefix_;
};

}  // namespace zv

#endif  // ZV_PLATFORM_MESSAGE_PRESENTER_H
