// Automation over the D-Bus session bus (Qt D-Bus): the program identifier
// is the bus name, the object is /Automation with the interface
// org.zvtavelworks.Automation, and every call is its Invoke method.
//
// Creating an object asks the bus to start the name (StartServiceByName):
// a name that is owned answers at once, one that a service file offers is
// started; one that nobody owns and nothing offers answers ServiceUnknown,
// which is the "class not registered" case.
#ifndef ZV_AUTOMATION_DBUS_AUTOMATION_H
#define ZV_AUTOMATION_DBUS_AUTOMATION_H

#include <QDBusConnection>
#include <QString>

#include "automation/automation_object.h"

namespace zv::automation {

// How long a call may go unanswered before its program counts as not
// answering (CallFailure::NoAnswer), in milliseconds.
struct CallTimeLimits {
  // The web URL, the page URL, whether a file exists, making a folder,
  // taking a file out and inserting the text: the programs answer these from
  // what they hold, or after one request to the web's server. Half a minute
  // is far beyond any such round trip, yet short enough that an author in
  // front of a hung editor hears of it while still waiting.
  int answerMs = 30'000;
  // Adding a file: the Explorer may first ask its own user whether to
  // replace the file (the overwrite question warns the author of that), and
  // then send the file to the web's server. A person's answer and a large
  // clip on a slow line take minutes, so ten of them.
  int addFileMs = 600'000;
};

class DBusAutomationObject : public AutomationObject {
 public:
  DBusAutomationObject(QDBusConnection connection, QString busName, CallTimeLimits limits = {});
  CallResult invoke(std::int32_t dispid, const std::vector<AutomationValue>& arguments) override;

 private:
  int timeLimitMs(std::int32_t dispid) const;
  // Why an error reply came: the program left, did not answer, or refused.
  CallFailure classify(const QDBusMessage& reply) const;

  QDBusConnection connection_;
  QString bus_name_;
  CallTimeLimits limits_;
};

class DBusAutomationConnector : public AutomationConnector {
 public:
  explicit DBusAutomationConnector(QDBusConnection connection = QDBusConnection::sessionBus(),
                                   CallTimeLimits limits = {});
  CreatedObject create(const std::string& programId) override;

 private:
  QDBusConnection connection_;
  CallTimeLimits limits_;
};

}  // namespace zv::automation

#endif  // ZV_AUTOMATION_DBUS_AUTOMATION_H
