#include "host/web_automation.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QStringList>
#include <initializer_list>
#include <iostream>

#include "automation/automation_contract.h"

namespace zv::host {

namespace automation = zv::automation;

namespace {

constexpr char kExplorerConnection[] = "webhost-explorer";
constexpr char kEditorConnection[] = "webhost-editor";

enum class Arg { Text, Flag };

std::string text(const QVariant& value) { return value.toString().toStdString(); }

QString typeList(std::initializer_list<Arg> kinds) {
  QStringList names;
  for (const Arg kind : kinds) names << (kind == Arg::Text ? QStringLiteral("s") : QStringLiteral("b"));
  return names.join(QStringLiteral(", "));
}

// An InvalidArgs answer unless `arguments` are exactly the kinds given.
bool checkArguments(int dispid, const QVariantList& arguments, std::initializer_list<Arg> kinds,
                    InvokeAnswer& answer) {
  bool ok = arguments.size() == static_cast<qsizetype>(kinds.size());
  qsizetype i = 0;
  for (const Arg kind : kinds) {
    if (!ok) break;
    const int type = arguments[i++].metaType().id();
    ok = kind == Arg::Text ? type == QMetaType::QString : type == QMetaType::Bool;
  }
  if (!ok) {
    answer.errorName = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
    answer.errorText = QStringLiteral("method %1 takes the arguments (%2)").arg(dispid).arg(typeList(kinds));
  }
  return ok;
}

InvokeAnswer unknownDispid(const char* program, int dispid) {
  return {{}, QString::fromLatin1(automation::kUnknownDispidError),
          QStringLiteral("%1 has no method %2").arg(QString::fromLatin1(program)).arg(dispid)};
}

QString shown(const QVariant& value) {
  if (value.metaType().id() == QMetaType::QString) return QLatin1Char('"') + value.toString() + QLatin1Char('"');
  if (value.metaType().id() == QMetaType::Bool) return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
  return value.toString();
}

// Takes `busName` on a connection of its own and serves `endpoint` there.
bool offer(const char* connectionName, const char* busName, AutomationEndpoint* endpoint, std::string& error) {
  QDBusConnection connection =
      QDBusConnection::connectToBus(QDBusConnection::SessionBus, QString::fromLatin1(connectionName));
  if (!connection.isConnected()) {
    error = "cannot connect to the D-Bus session bus: " + connection.lastError().message().toStdString();
    return false;
  }
  if (!connection.registerObject(QString::fromLatin1(automation::kObjectPath), endpoint,
                                 QDBusConnection::ExportAllSlots)) {
    error = "cannot offer the object " + std::string(automation::kObjectPath);
    return false;
  }
  const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = connection.interface()->registerService(
      QString::fromLatin1(busName), QDBusConnectionInterface::DontQueueService,
      QDBusConnectionInterface::DontAllowReplacement);
  if (!reply.isValid()) {
    error = "cannot take the bus name " + std::string(busName) + ": " + reply.error().message().toStdString();
    return false;
  }
  if (reply.value() != QDBusConnectionInterface::ServiceRegistered) {
    error = "the bus name " + std::string(busName) +
            " is taken by another program (is another webhost serve running on this bus?)";
    return false;
  }
  return true;
}

}  // namespace

WebAutomation::WebAutomation(ServedWeb web, std::ostream* log)
    : web_(std::move(web)),
      log_(log),
      explorer_(std::make_unique<AutomationEndpoint>(
          [this](int dispid, const QVariantList& arguments) { return explorerCall(dispid, arguments); })),
      editor_(std::make_unique<AutomationEndpoint>(
          [this](int dispid, const QVariantList& arguments) { return editorCall(dispid, arguments); })) {}

WebAutomation::~WebAutomation() { stop(); }

bool WebAutomation::start(std::string& error) {
  explorer_connected_ = true;
  if (!offer(kExplorerConnection, automation::kExplorerProgramId, explorer_.get(), error)) {
    stop();
    return false;
  }
  editor_connected_ = true;
  if (!offer(kEditorConnection, automation::kEditorProgramId, editor_.get(), error)) {
    stop();
    return false;
  }
  return true;
}

void WebAutomation::stop() {
  // The names are released first, so that they are free when this returns
  // (closing a connection would give them up too, but later).
  const auto release = [](const char* connectionName, const char* busName) {
    QDBusConnection connection(QString::fromLatin1(connectionName));
    if (connection.isConnected()) connection.interface()->unregisterService(QString::fromLatin1(busName));
    QDBusConnection::disconnectFromBus(QString::fromLatin1(connectionName));
  };
  if (explorer_connected_) release(kExplorerConnection, automation::kExplorerProgramId);
  if (editor_connected_) release(kEditorConnection, automation::kEditorProgramId);
  explorer_connected_ = editor_connected_ = false;
}

InvokeAnswer WebAutomation::explorerCall(int dispid, const QVariantList& arguments) {
  InvokeAnswer answer;
  std::string note;
  switch (dispid) {
    case automation::kExplorerWebUrl:
      if (checkArguments(dispid, arguments, {}, answer)) answer.value = QString::fromStdString(web_.webUrl());
      break;
    case automation::kExplorerFileExists:
      if (checkArguments(dispid, arguments, {Arg::Text}, answer)) answer.value = web_.fileExists(text(arguments[0]));
      break;
    case automation::kExplorerMakeFolder:
      if (checkArguments(dispid, arguments, {Arg::Text}, answer))
        answer.value = web_.makeFolder(text(arguments[0]), note) ? 1 : 0;
      break;
    case automation::kExplorerAddFile:
      if (checkArguments(dispid, arguments, {Arg::Text, Arg::Text, Arg::Flag}, answer))
        answer.value = web_.addFile(text(arguments[0]), text(arguments[1]), arguments[2].toBool(), note) ? 1 : 0;
      break;
    case automation::kExplorerRemoveFile:
      if (checkArguments(dispid, arguments, {Arg::Text}, answer))
        answer.value = web_.removeFile(text(arguments[0]), note) ? 1 : 0;
      break;
    default:
      answer = unknownDispid(automation::kExplorerProgramId, dispid);
  }
  log(automation::kExplorerProgramId, dispid, arguments, answer, note);
  return answer;
}

InvokeAnswer WebAutomation::editorCall(int dispid, const QVariantList& arguments) {
  InvokeAnswer answer;
  std::string note;
  switch (dispid) {
    case automation::kEditorPageUrl:
      if (checkArguments(dispid, arguments, {}, answer)) answer.value = QString::fromStdString(web_.pageUrl());
      break;
    case automation::kEditorInsertHtml:
      if (checkArguments(dispid, arguments, {Arg::Text}, answer))
        answer.value = web_.insertText(text(arguments[0]), note) ? 1 : 0;
      break;
    default:
      answer = unknownDispid(automation::kEditorProgramId, dispid);
  }
  // A page that could not be saved is worth saying even when calls are not logged.
  if (!log_ && !note.empty()) std::cerr << "webhost: the page was not changed: " << note << std::endl;
  log(automation::kEditorProgramId, dispid, arguments, answer, note);
  return answer;
}

void WebAutomation::log(const char* program, int dispid, const QVariantList& arguments, const InvokeAnswer& answer,
                        const std::string& note) {
  if (!log_) return;
  QStringList shownArguments;
  for (const QVariant& argument : arguments) shownArguments << shown(argument);
  *log_ << "webhost: " << program << " " << dispid << "(" << shownArguments.join(QStringLiteral(", ")).toStdString()
        << ") -> ";
  if (answer.errorName.isEmpty())
    *log_ << shown(answer.value).toStdString();
  else
    *log_ << "error " << answer.errorName.toStdString() << ": " << answer.errorText.toStdString();
  if (!note.empty()) *log_ << " (" << note << ")";
  *log_ << std::endl;
}

}  // namespace zv::host
