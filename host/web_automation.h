// `webhost serve`'s two programs on the session bus: the Explorer (the open
// web) and the Editor (the page being edited), each owning its bus name on a
// connection of its own, answering the calls of the automation contract
// (automation/automation_contract.h) on a ServedWeb.
#ifndef ZV_HOST_WEB_AUTOMATION_H
#define ZV_HOST_WEB_AUTOMATION_H

#include <QVariantList>
#include <memory>
#include <ostream>
#include <string>

#include "host/automation_endpoint.h"
#include "host/served_web.h"

namespace zv::host {

class WebAutomation {
 public:
  // `log`, when not null, receives one line per call.
  WebAutomation(ServedWeb web, std::ostream* log);
  ~WebAutomation();
  WebAutomation(const WebAutomation&) = delete;
  WebAutomation& operator=(const WebAutomation&) = delete;

  // Connects to the session bus and takes both names. False, with the
  // reason, when there is no bus or a name is owned by someone else; then
  // nothing is held.
  bool start(std::string& error);

  // The answers, also usable without a bus.
  InvokeAnswer explorerCall(int dispid, const QVariantList& arguments);
  InvokeAnswer editorCall(int dispid, const QVariantList& arguments);

 private:
  void stop();
  void log(const char* program, int dispid, const QVariantList& arguments, const InvokeAnswer& answer,
           const std::string& note);

  ServedWeb web_;
  std::ostream* log_;
  std::unique_ptr<AutomationEndpoint> explorer_;
  std::unique_ptr<AutomationEndpoint> editor_;
  bool explorer_connected_ = false;
  bool editor_connected_ = false;
};

}  // namespace zv::host

#endif  // ZV_HOST_WEB_AUTOMATION_H
