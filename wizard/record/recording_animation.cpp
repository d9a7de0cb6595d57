#include "wizard/record/recording_animation.h"

#include <QIcon>
#include <QPainter>
#include <QPainterPath>

namespace zv {

namespace {

constexpr int kIconPixels = 32;

QPixmap blankPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

}  // namespace

std::array<QPixmap, kAnimationFrameCount> drawRecordingAnimation(int size) {
  std::array<QPixmap, kAnimationFrameCount> frames;
  for (int frame = 0; frame < kAnimationFrameCount; ++frame) {
    QPixmap pixmap = blankPixmap(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const double unit = size / 16.0;
    // The microphone: a capsule on a stand.
    painter.setPen(QPen(QColor(60, 60, 60), unit * 0.8));
    painter.setBrush(QColor(90, 90, 90));
    painter.drawRoundedRect(QRectF(unit * 2.5, unit * 2, unit * 3.5, unit * 7), unit * 1.75, unit * 1.75);
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(unit * 1.5, unit * 5, unit * 5.5, unit * 6), 180 * 16, 180 * 16);
    painter.drawLine(QPointF(unit * 4.25, unit * 11), QPointF(unit * 4.25, unit * 13.5));
    painter.drawLine(QPointF(unit * 2.5, unit * 13.5), QPointF(unit * 6, unit * 13.5));
    // Sound waves: one more arc in each frame, in the recording red.
    painter.setPen(QPen(QColor(200, 30, 30), unit * 0.9, Qt::SolidLine, Qt::RoundCap));
    for (int wave = 1; wave < frame + 1; ++wave) {
      const double radius = unit * (1.6 + 1.7 * wave);
      const QPointF centre(unit * 6.5, unit * 5.5);
      painter.drawArc(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius),
                      -40 * 16, 80 * 16);
    }
    frames[frame] = pixmap;
  }
  return frames;
}

QIcon playIcon() {
  QPixmap pixmap = blankPixmap(kIconPixels);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(30, 130, 40));
  painter.drawPolygon(QPolygonF({QPointF(9, 6), QPointF(26, 16), QPointF(9, 26)}));
  return QIcon(pixmap);
}

QIcon recordIcon() {
  QPixmap pixmap = blankPixmap(kIconPixels);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(200, 30, 30));
  painter.drawEllipse(QRectF(7, 7, 18, 18));
  return QIcon(pixmap);
}

QIcon stopIcon() {
  QPixmap pixmap = blankPixmap(kIconPixels);
  QPainter painter(&pixmap);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(50, 50, 50));
  painter.drawRect(QRectF(8, 8, 16, 16));
  return QIcon(pixmap);
}

}  // namespace zv
