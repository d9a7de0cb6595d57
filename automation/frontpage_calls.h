// The calls the insertion program makes, typed: five to the Explorer, two to
// the Editor. Each answers its value, or why there is none: a call that
// failed, or whose answer is of the wrong type, is CallFailure::Failed, so
// that no caller reads a failure as "absent", "empty" or "done".
#ifndef ZV_AUTOMATION_FRONTPAGE_CALLS_H
#define ZV_AUTOMATION_FRONTPAGE_CALLS_H

#include <cstdint>
#include <string>

#include "automation/automation_object.h"

namespace zv::automation {

template <typename T>
struct CallAnswer {
  T value{};
  CallFailure failure = CallFailure::None;
  bool answered() const { return failure == CallFailure::None; }
};

class ExplorerCalls {
 public:
  explicit ExplorerCalls(AutomationObject& object) : object_(object) {}
  CallAnswer<std::string> webUrl();                     // 12
  CallAnswer<bool> fileExists(const std::string& url);  // 15
  CallAnswer<bool> makeFolder(const std::string& webPath);  // 27: true when the folder is there
  CallAnswer<bool> addFile(const std::string& localPath, const std::string& webPath);  // 3: true when added
  CallAnswer<bool> removeFile(const std::string& webPath);  // 30: true when the file is gone

 private:
  AutomationObject& object_;
};

class EditorCalls {
 public:
  explicit EditorCalls(AutomationObject& object) : object_(object) {}
  CallAnswer<std::string> pageUrl();                       // 21
  CallAnswer<bool> insertHtml(const std::string& html);    // 22: true when inserted

 private:
  AutomationObject& object_;
};

}  // namespace zv::automation

#endif  // ZV_AUTOMATION_FRONTPAGE_CALLS_H
