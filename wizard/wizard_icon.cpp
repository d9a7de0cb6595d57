#include "wizard/wizard_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace zv {

QPixmap wizardIconPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  // Everything below is laid out on a 64 x 64 grid, the same grid as the
  // SVG file, and scaled to the size asked for.
  painter.scale(size / 64.0, size / 64.0);

  QLinearGradient background(0, 0, 0, 64);
  background.setColorAt(0, QColor(0x2f, 0x6f, 0xd6));
  background.setColorAt(1, QColor(0x1a, 0x3f, 0x8f));
  painter.setPen(Qt::NoPen);
  painter.setBrush(background);
  painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

  QPainterPath speaker;
  speaker.moveTo(12, 25);
  speaker.lineTo(20, 25);
  speaker.lineTo(31, 15);
  speaker.lineTo(31, 49);
  speaker.lineTo(20, 39);
  speaker.lineTo(12, 39);
  speaker.closeSubpath();
  painter.setBrush(Qt::white);
  painter.drawPath(speaker);

  QPen wave(Qt::white, 4.5, Qt::SolidLine, Qt::RoundCap);
  painter.setPen(wave);
  painter.setBrush(Qt::NoBrush);
  // Three arcs centred on the speaker's mouth, each 50 degrees either side
  // of the horizontal (Qt counts angles in sixteenths of a degree).
  for (const double radius : {8.0, 16.0, 24.0}) {
    const QRectF box(31 - radius, 32 - radius, 2 * radius, 2 * radius);
    painter.drawArc(box, -50 * 16, 100 * 16);
  }
  return pixmap;
}

QIcon wizardIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(wizardIconPixmap(size));
  return icon;
}

}  // namespace zv
