#include "wizard/audio/wave_device.h"

#include <QCoreApplication>

namespace zv {

QEvent::Type WaveDoneEvent::eventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

void postWaveDone(QObject* notify, WaveDirection direction, WaveBlock* block) {
  if (notify) QCoreApplication::postEvent(notify, new WaveDoneEvent(direction, block));
}

}  // namespace zv
