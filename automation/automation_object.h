// The client side of automation, free of any transport: an object that
// answers dispatch calls, and a connector that creates such objects from
// their program identifiers. The D-Bus implementation is dbus_automation.h;
// the typed calls of the two programs are frontpage_calls.h.
#ifndef ZV_AUTOMATION_AUTOMATION_OBJECT_H
#define ZV_AUTOMATION_AUTOMATION_OBJECT_H

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace zv::automation {

// One argument or result: nothing (a failed call, or a result of a type the
// caller does not read), 8-bit text, a boolean or a 32-bit integer.
using AutomationValue = std::variant<std::monostate, std::string, bool, std::int32_t>;

// Why a call has no answer to read.
enum class CallFailure {
  None,
  Failed,    // the program answered with an error
  NoAnswer,  // the program did not answer within the call's time limit
  Gone,      // the program is no longer there (it closed, or left the bus)
};

struct CallResult {
  AutomationValue value;  // std::monostate unless the call was answered
  CallFailure failure = CallFailure::None;
};

class AutomationObject {
 public:
  virtual ~AutomationObject() = default;
  // Invokes the method with the dispatch identifier `dispid`. A call that
  // fails says why in `failure`, and reports the details on stderr.
  virtual CallResult invoke(std::int32_t dispid, const std::vector<AutomationValue>& arguments) = 0;
};

enum class CreateFailure {
  None,
  ClassNotRegistered,  // nobody offers the program
  Other,               // any other reason (no bus, the start failed...)
};

struct CreatedObject {
  std::unique_ptr<AutomationObject> object;  // null on failure
  CreateFailure failure = CreateFailure::None;
  std::string detail;  // why it failed, for diagnostics
};

class AutomationConnector {
 public:
  virtual ~AutomationConnector() = default;
  // Finds (and starts, where the system can) the program `programId`.
  virtual CreatedObject create(const std::string& programId) = 0;
};

}  // namespace zv::automation

#endif  // ZV_AUTOMATION_AUTOMATION_OBJECT_H
