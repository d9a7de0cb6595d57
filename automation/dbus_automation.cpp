#include "automation/dbus_automation.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QEventLoop>
#include <QDBusReply>
#include <QDBusVariant>
#include <QVariant>
#include <QVariantList>
#include <iostream>
#include <utility>

#include "automation/automation_contract.h"

namespace zv::automation {

namespace {

QVariant toVariant(const AutomationValue& value) {
  if (const auto* text = std::get_if<std::string>(&value))
    return QVariant(QString::fromUtf8(text->data(), static_cast<qsizetype>(text->size())));
  if (const auto* flag = std::get_if<bool>(&value)) return QVariant(*flag);
  if (const auto* number = std::get_if<std::int32_t>(&value)) return QVariant(static_cast<int>(*number));
  return QVariant(QString());
}

AutomationValue fromVariant(QVariant value) {
  if (value.metaType() == QMetaType::fromType<QDBusVariant>()) value = value.value<QDBusVariant>().variant();
  switch (value.metaType().id()) {
    case QMetaType::QString: {
      const QByteArray bytes = value.toString().toUtf8();
      return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    case QMetaType::Bool:
      return value.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      return static_cast<std::int32_t>(value.toLongLong());
    default:
      return std::monostate{};
  }
}

}  // namespace

DBusAutomationObject::DBusAutomationObject(QDBusConnection connection, QString busName, CallTimeLimits limits)
    : connection_(std::move(connection)), bus_name_(std::move(busName)), limits_(limits) {}

int DBusAutomationObject::timeLimitMs(std::int32_t dispid) const {
  const bool addsFile = dispid == kExplorerAddFile && bus_name_ == QLatin1String(kExplorerProgramId);
  return addsFile ? limits_.addFileMs : limits_.answerMs;
}

CallFailure DBusAutomationObject::classify(const QDBusMessage& reply) const {
  if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")) return CallFailure::Gone;
  switch (QDBusError(reply).type()) {
    case QDBusError::ServiceUnknown:
    case QDBusError::Disconnected:
      return CallFailure::Gone;
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut: {
      // No reply is what both a time limit that passed and a program that
      // closed during the call give; the bus still knowing the name tells
      // them apart.
      const QDBusReply<bool> registered = connection_.interface()->isServiceRegistered(bus_name_);
      return registered.isValid() && registered.value() ? CallFailure::NoAnswer : CallFailure::Gone;
    }
    default:
      return CallFailure::Failed;
  }
}

CallResult DBusAutomationObject::invoke(std::int32_t dispid,
                                             const std::vector<AutomationValue>& arguments) {
  QVariantList packed;
  for (const AutomationValue& argument : arguments) packed.append(toVariant(argument));
  QDBusMessage call = QDBusMessage::createMethodCall(bus_name_, QString::fromLatin1(kObjectPath),
                                                     QString::fromLatin1(kInterface),
                                                     QString::fromLatin1(kInvokeMethod));
  call << static_cast<int>(dispid) << QVariant::fromValue(packed);
  // Wait in a local event loop, so that the status window stays painted while
  // the other program works. The watcher reports the end through an event to
  // this thread, so a reply that comes at once is never missed (a blocking
  // call with the GUI kept alive could miss one and wait for ever).
  const QDBusPendingCall pending = connection_.asyncCall(call, timeLimitMs(dispid));
  if (!pending.isFinished()) {
    QDBusPendingCallWatcher watcher(pending);
    QEventLoop loop;
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
    if (!watcher.isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
  const QDBusMessage reply = pending.reply();
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
    std::cerr << "ZvInsertBot: call " << dispid << " to " << bus_name_.toStdString()
              << " failed: " << reply.errorMessage().toStdString() << " ("
              << reply.errorName().toStdString() << ")\n";
    return {std::monostate{}, reply.type() == QDBusMessage::ErrorMessage ? classify(reply) : CallFailure::Failed};
  }
  return {fromVariant(reply.arguments().constFirst()), CallFailure::None};
}

DBusAutomationConnector::DBusAutomationConnector(QDBusConnection connection, CallTimeLimits limits)
    : connection_(std::move(connection)), limits_(limits) {}

CreatedObject DBusAutomationConnector::create(const std::string& programId) {
  CreatedObject created;
  if (!connection_.isConnected() || !connection_.interface()) {
    created.failure = CreateFailure::Other;
    created.detail = "no D-Bus session bus: " + connection_.lastError().message().toStdString();
    return created;
  }
  const QString name = QString::fromStdString(programId);
  // The bus answers StartServiceByName from its service files alone, even for
  // a name that is owned; so a running program is looked for first.
  const QDBusReply<bool> running = connection_.interface()->isServiceRegistered(name);
  if (!running.isValid() || !running.value()) {
    const QDBusReply<void> started = connection_.interface()->startService(name);
    if (!started.isValid()) {
      const QDBusError error = started.error();
      created.failure = error.type() == QDBusError::ServiceUnknown ? CreateFailure::ClassNotRegistered
                                                                   : CreateFailure::Other;
      created.detail = error.name().toStdString() + ": " + error.message().toStdString();
      return created;
    }
  }
  created.object = std::make_unique<DBusAutomationObject>(connection_, name, limits_);
  return created;
}

}  // namespace zv::automation
