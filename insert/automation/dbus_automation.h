// Automation over the D-Bus session bus (Qt D-Bus): the program identifier
// is the bus name, the object is /Automation with the interface
// org.zvtavelworks.Automation, and every call is its Invoke method.
//
// Creating an object asks the bus to start the name (StartServiceByName):
// a name that is owned answers at once, one that a service file offers is
// started; one that nobody owns and nothing offers answers ServiceUnknown,
// which is the "class not registered" case.
#ifndef ZV_INSERT_AUTOMATION_DBUS_AUTOMATION_H
#define ZV_INSERT_AUTOMATION_DBUS_AUTOMATION_H

#include <QDBusConnection>
#include <QString>

#include "insert/automation/automation_object.h"

namespace zv::automation {

class DBusAutomationObject : public AutomationObject {
 public:
  DBusAutomationObject(QDBusConnection connection, QString busName);
  AutomationValue invoke(std::int32_t dispid, const std::vector<AutomationValue>& arguments) override;

 private:
  QDBusConnection connection_;
  QString busName_;
};

class DBusAutomationConnector : public AutomationConnector {
 public:
  explicit DBusAutomationConnector(QDBusConnection connection = QDBusConnection::sessionBus());
  CreatedObject create(const std::string& programId) override;

 private:
  QDBusConnection connection_;
};

}  // namespace zv::automation

#endif  // ZV_INSERT_AUTOMATION_DBUS_AUTOMATION_H
