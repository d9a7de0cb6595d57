// The six calls the insertion program makes, typed: four to the Explorer,
// two to the Editor. A result of the wrong type or a failed call reads as
// the empty text, false or 0.
#ifndef ZV_INSERT_AUTOMATION_FRONTPAGE_CALLS_H
#define ZV_INSERT_AUTOMATION_FRONTPAGE_CALLS_H

#include <cstdint>
#include <string>

#include "insert/automation/automation_object.h"

namespace zv::automation {

class ExplorerCalls {
 public:
  explicit ExplorerCalls(AutomationObject& object) : object_(object) {}
  std::string webUrl();                          // 12
  bool fileExists(const std::string& url);       // 15
  void makeFolder(const std::string& webPath);   // 27 (result not examined)
  std::int32_t addFile(const std::string& localPath, const std::string& webPath);  // 3

 private:
  AutomationObject& object_;
};

class EditorCalls {
 public:
  explicit EditorCalls(AutomationObject& object) : object_(object) {}
  std::string pageUrl();                         // 21
  void insertHtml(const std::string& html);      // 22 (result not examined)

 private:
  AutomationObject& object_;
};

}  // namespace zv::automation

#endif  // ZV_INSERT_AUTOMATION_FRONTPAGE_CALLS_H
