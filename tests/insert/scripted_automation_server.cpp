#include "tests/insert/scripted_automation_server.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QObject>
#include <QStringList>
#include <QThread>
#include <QVariant>
#include <atomic>
#include <stdexcept>

#include "automation/automation_contract.h"

namespace zv::test {

namespace automation = zv::automation;

// One program's object: turns Invoke calls into the server's script.
class ScriptedAutomationObject : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.zvtavelworks.Automation")

 public:
  ScriptedAutomationObject(ScriptedAutomationServer& server, std::string program, QObject* parent)
      : QObject(parent), server_(server), program_(std::move(program)) {}

 public slots:
  QDBusVariant Invoke(int dispid, const QVariantList& arguments) {
    QStringList shown;
    std::vector<std::string> texts;
    for (const QVariant& argument : arguments) {
      if (argument.metaType().id() == QMetaType::QString) {
        texts.push_back(argument.toString().toStdString());
        shown << QStringLiteral("\"%1\"").arg(argument.toString());
      } else if (argument.metaType().id() == QMetaType::Bool) {
        shown << (argument.toBool() ? QStringLiteral("true") : QStringLiteral("false"));
      } else {
        shown << QStringLiteral("<%1:%2>").arg(QString::fromLatin1(argument.typeName()), argument.toString());
      }
    }
    const auto answer = server_.answer(program_, dispid, shown.join(QStringLiteral(", ")).toStdString(), texts);
    using Reply = ScriptedAutomationServer::Reply;
    switch (answer.reply) {
      case Reply::Text: return QDBusVariant(QString::fromStdString(answer.text));
      case Reply::Flag: return QDBusVariant(answer.flag);
      case Reply::Number: return QDBusVariant(answer.number);
      case Reply::UnknownDispid: break;
      case Reply::Error:
        sendErrorReply(QDBusError::Failed, QStringLiteral("scripted failure of %1").arg(dispid));
        return {};
      case Reply::None:
        // The call stays unanswered: the caller's time limit has to end it.
        setDelayedReply(true);
        return {};
    }
    sendErrorReply(QString::fromLatin1(automation::kUnknownDispidError),
                   QStringLiteral("no method %1").arg(dispid));
    return {};
  }

 private:
  ScriptedAutomationServer& server_;
  std::string program_;
};

namespace {

// Each server's connections get a number of their own.
std::atomic<int> serverCount{0};

void offer(const char* connectionName, const char* busName, QObject* object) {
  QDBusConnection connection =
      QDBusConnection::connectToBus(QDBusConnection::SessionBus, QString::fromLatin1(connectionName));
  if (!connection.isConnected()) throw std::runtime_error("no session bus (run under dbus-run-session)");
  if (!connection.registerObject(QString::fromLatin1(automation::kObjectPath), object,
                                 QDBusConnection::ExportAllSlots))
    throw std::runtime_error("cannot register the automation object");
  const auto reply = connection.interface()->registerService(QString::fromLatin1(busName),
                                                             QDBusConnectionInterface::DontQueueService);
  if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered)
    throw std::runtime_error(std::string("cannot own ") + busName);
}

}  // namespace

ScriptedAutomationServer::ScriptedAutomationServer(AutomationScript script)
    : script_(std::move(script)), thread_(std::make_unique<QThread>()) {
  const std::string number = std::to_string(++serverCount);
  explorer_connection_ = "scripted-explorer-" + number;
  editor_connection_ = "scripted-editor-" + number;
  thread_->start();
  context_ = new QObject;
  context_->moveToThread(thread_.get());
  std::string failure;
  QMetaObject::invokeMethod(
      context_,
      [this, &failure] {
        try {
          setUp();
        } catch (const std::exception& error) {
          failure = error.what();
        }
      },
      Qt::BlockingQueuedConnection);
  if (!failure.empty()) throw std::runtime_error(failure);
}

ScriptedAutomationServer::~ScriptedAutomationServer() {
  QMetaObject::invokeMethod(context_, [this] { tearDown(); }, Qt::BlockingQueuedConnection);
  thread_->quit();
  thread_->wait();
}

void ScriptedAutomationServer::setUp() {
  if (script_.offerExplorer)
    offer(explorer_connection_.c_str(), automation::kExplorerProgramId,
          new ScriptedAutomationObject(*this, "Explorer", context_));
  if (script_.offerEditor)
    offer(editor_connection_.c_str(), automation::kEditorProgramId,
          new ScriptedAutomationObject(*this, "Editor", context_));
}

void ScriptedAutomationServer::leave(const std::string& program) {
  const bool explorer = program == "Explorer";
  const std::string connection = explorer ? explorer_connection_ : editor_connection_;
  const char* busName = explorer ? automation::kExplorerProgramId : automation::kEditorProgramId;
  QMetaObject::invokeMethod(
      context_,
      [&] {
        QDBusConnection(QString::fromStdString(connection)).interface()->unregisterService(QString::fromLatin1(busName));
      },
      Qt::BlockingQueuedConnection);
}

void ScriptedAutomationServer::tearDown() {
  // Releasing the names is answered once the bus has let them go, so the
  // next server of the same test can take them at once.
  if (script_.offerExplorer)
    QDBusConnection(QString::fromStdString(explorer_connection_))
        .interface()
        ->unregisterService(QString::fromLatin1(automation::kExplorerProgramId));
  if (script_.offerEditor)
    QDBusConnection(QString::fromStdString(editor_connection_))
        .interface()
        ->unregisterService(QString::fromLatin1(automation::kEditorProgramId));
  QDBusConnection::disconnectFromBus(QString::fromStdString(explorer_connection_));
  QDBusConnection::disconnectFromBus(QString::fromStdString(editor_connection_));
  delete context_;
  context_ = nullptr;
}

ScriptedAutomationServer::Answer ScriptedAutomationServer::answer(const std::string& program, int dispid,
                                                                  const std::string& arguments,
                                                                  const std::vector<std::string>& texts) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::string name = program + " " + std::to_string(dispid);
  calls_.push_back(name + "(" + arguments + ")");
  Answer answer;
  if (script_.unansweredCalls.count(name)) return {Reply::None, {}, false, 0};
  if (script_.failingCalls.count(name)) return {Reply::Error, {}, false, 0};
  const auto text = [&](std::size_t i) { return i < texts.size() ? texts[i] : std::string(); };
  if (program == "Explorer") {
    switch (dispid) {
      case automation::kExplorerWebUrl: return {Reply::Text, script_.webUrl, false, 0};
      case automation::kExplorerFileExists:
        if (script_.unknownUrls.count(text(0))) return {Reply::Error, {}, false, 0};
        return {Reply::Flag, {}, script_.existingUrls.count(text(0)) > 0, 0};
      case automation::kExplorerMakeFolder: return {Reply::Number, {}, false, script_.unmadeFolders.count(text(0)) ? 0 : 1};
      case automation::kExplorerRemoveFile: return {Reply::Number, {}, false, 1};
      case automation::kExplorerAddFile: return {Reply::Number, {}, false, script_.refusedTargets.count(text(1)) ? 0 : 1};
      default: return answer;
    }
  }
  switch (dispid) {
    case automation::kEditorPageUrl: return {Reply::Text, script_.pageUrl, false, 0};
    case automation::kEditorInsertHtml:
      if (script_.refuseInsert) return {Reply::Number, {}, false, 0};
      inserted_.push_back(text(0));
      return {Reply::Number, {}, false, 1};
    default: return answer;
  }
}

std::vector<std::string> ScriptedAutomationServer::calls() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_;
}

std::vector<std::string> ScriptedAutomationServer::insertedTexts() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return inserted_;
}

}  // namespace zv::test

#include "scripted_automation_server.moc"
