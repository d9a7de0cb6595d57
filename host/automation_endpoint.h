// One automation object on the session bus: /Automation with the interface
// org.zvtavelworks.Automation and its method Invoke(i dispid, av arguments)
// -> v. What a call does is the handler's; the endpoint only unpacks the
// call and sends the answer or the error.
#ifndef ZV_HOST_AUTOMATION_ENDPOINT_H
#define ZV_HOST_AUTOMATION_ENDPOINT_H

#include <QDBusContext>
#include <QDBusVariant>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>

namespace zv::host {

struct InvokeAnswer {
  QVariant value;       // the result, when errorName is empty
  QString errorName;    // a D-Bus error name, for a call that cannot be answered
  QString errorText;
};

class AutomationEndpoint : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.zvtavelworks.Automation")

 public:
  using Handler = std::function<InvokeAnswer(int dispid, const QVariantList& arguments)>;
  AutomationEndpoint(Handler handler, QObject* parent = nullptr);

 public slots:
  QDBusVariant Invoke(int dispid, const QVariantList& arguments);

 private:
  Handler handler_;
};

}  // namespace zv::host

#endif  // ZV_HOST_AUTOMATION_ENDPOINT_H
