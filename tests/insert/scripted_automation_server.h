// A scripted Explorer and Editor on the session bus, for tests of the
// insertion pass: it owns either or both bus names, answers the six calls
// from a script, and records every call it receives, in order, as text such
// as `Explorer 3("/p/a.class", "/web/a.class", true)`.
//
// The objects live on a thread of their own with their own bus connections,
// so the pass under test can make blocking calls from the main thread. Run
// the test under dbus-run-session: the names are the real ones.
#ifndef ZV_TESTS_INSERT_SCRIPTED_AUTOMATION_SERVER_H
#define ZV_TESTS_INSERT_SCRIPTED_AUTOMATION_SERVER_H

#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

class QObject;
class QThread;

namespace zv::test {

struct AutomationScript {
  bool offerExplorer = true;
  bool offerEditor = true;
  std::string webUrl;                     // Explorer 12
  std::string pageUrl;                    // Editor 21
  std::set<std::string> existingUrls;     // Explorer 15 answers true for these
  std::set<std::string> unknownUrls;      // Explorer 15 answers an error for these
  std::set<std::string> refusedTargets;   // Explorer 3 answers 0 for these web paths
  std::set<std::string> unmadeFolders;    // Explorer 27 answers 0 for these web paths
  bool refuseInsert = false;              // Editor 22 answers 0
  // Calls named "<program> <dispid>" ("Editor 22"): answered with an error,
  // or never answered at all.
  std::set<std::string> failingCalls;
  std::set<std::string> unansweredCalls;
};

class ScriptedAutomationServer {
 public:
  explicit ScriptedAutomationServer(AutomationScript script);
  ~ScriptedAutomationServer();
  ScriptedAutomationServer(const ScriptedAutomationServer&) = delete;
  ScriptedAutomationServer& operator=(const ScriptedAutomationServer&) = delete;

  // Gives up the bus name of "Explorer" or "Editor", as a program that
  // closes does; its calls are still recorded up to then.
  void leave(const std::string& program);

  // The calls received so far, in order.
  std::vector<std::string> calls() const;
  // The texts that Editor 22 received.
  std::vector<std::string> insertedTexts() const;

  // The script's answer to one call, recorded first; called by the bus
  // objects on the server thread. `arguments` are the call's arguments as
  // they will be recorded; `textArguments` the string arguments alone.
  enum class Reply { Text, Flag, Number, UnknownDispid, Error, None };
  struct Answer {
    Reply reply = Reply::UnknownDispid;
    std::string text;
    bool flag = false;
    int number = 0;
  };
  Answer answer(const std::string& program, int dispid, const std::string& arguments,
                const std::vector<std::string>& textArguments);

 private:
  void setUp();
  void tearDown();

  AutomationScript script_;
  mutable std::mutex mutex_;
  std::vector<std::string> calls_;
  std::vector<std::string> inserted_;
  std::unique_ptr<QThread> thread_;
  QObject* context_ = nullptr;
  // Names of this server's own bus connections: new for every server, so a
  // server never reuses a connection an earlier one is still letting go of.
  std::string explorer_connection_;
  std::string editor_connection_;
};

}  // namespace zv::test

#endif  // ZV_TESTS_INSERT_SCRIPTED_AUTOMATION_SERVER_H
