#include "host/automation_endpoint.h"

#include <utility>

namespace zv::host {

AutomationEndpoint::AutomationEndpoint(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {}

QDBusVariant AutomationEndpoint::Invoke(int dispid, const QVariantList& arguments) {
  InvokeAnswer answer = handler_(dispid, arguments);
  if (!answer.errorName.isEmpty()) {
    sendErrorReply(answer.errorName, answer.errorText);
    return QDBusVariant(QVariant(0));
  }
  return QDBusVariant(answer.value);
}

}  // namespace zv::host
