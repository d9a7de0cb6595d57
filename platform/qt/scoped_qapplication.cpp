#include "platform/qt/scoped_qapplication.h"

#include <QApplication>
#include <QEvent>

namespace zv {

namespace {

// QApplication keeps references to argc and argv for its whole life, so they
// must outlive it: static storage, one program name and the terminating null.
int gArgumentCount = 1;
char gProgramName[] = "ZvTavelworks";
char* gArguments[] = {gProgramName, nullptr};

}  // namespace

ScopedQApplication::ScopedQApplication() {
  if (QCoreApplication::instance() == nullptr)
    owned_ = std::make_unique<QApplication>(gArgumentCount, gArguments);
}

ScopedQApplication::~ScopedQApplication() {
  // Objects the call left for deferred deletion go before the application
  // object that would otherwise never deliver those events.
  if (owned_) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool ScopedQApplication::widgets() const {
  return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

std::unique_ptr<ScopedQApplication> ensureQApplication() {
  return std::make_unique<ScopedQApplication>();
}

}  // namespace zv
