#include "wizard/compression_chart.h"

#include <QFontMetrics>
#include <QPainter>

#include <string>

#include "wizard/wizard_strings.h"

namespace zv {

namespace {

// The pattern with each "%d" replaced by the next of the numbers, in order,
// and "%%" by "%". The label has two numbers, more than formatMessage fills.
QString formatNumbers(const std::string& pattern, std::initializer_list<long long> numbers) {
  std::string out;
  auto next = numbers.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size()) {
      if (pattern[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (pattern[i + 1] == 'd' && next != numbers.end()) {
        out += std::to_string(*next++);
        ++i;
        continue;
      }
    }
    out += pattern[i];
  }
  return QString::fromStdString(out);
}

// Rectangle with inclusive top-left and exclusive bottom-right corners, as
// the chart's coordinates are given.
QRect spanning(int left, int top, int right, int bottom) {
  return QRect(left, top, right - left, bottom - top);
}

// Fills and outlines `box` with the painter's pen, inside the box: a 1-pixel
// outline on its outermost pixels.
void drawBar(QPainter& painter, const QRect& box, const QColor& fill) {
  if (box.width() <= 0 || box.height() <= 0) return;
  painter.fillRect(box, fill);
  painter.drawRect(box.adjusted(0, 0, -1, -1));
}

}  // namespace

std::optional<double> compressionRatio(std::uint32_t pcmBytes, std::uint32_t codedBytes) {
  if (pcmBytes == 0 || codedBytes == 0) return std::nullopt;
  return static_cast<double>(pcmBytes) / static_cast<double>(codedBytes);
}

QString compressedLabel(std::uint32_t pcmBytes, std::uint32_t codedBytes) {
  const std::optional<double> ratio = compressionRatio(pcmBytes, codedBytes);
  if (!ratio) return QString::fromStdString(wizardMessage(kIdsChartNothingCompressed));
  // Both are below 2^32 and above 2^-32, so both fit a long long.
  const auto whole = static_cast<long long>(*ratio);
  const auto percent = static_cast<long long>(100.0 / *ratio);
  return formatNumbers(loadString(wizardStringTable(), kIdsChartCompressed), {whole, percent});
}

QString originalLabel() { return QString::fromStdString(wizardMessage(kIdsChartOriginal)); }

void paintCompressionChart(QPainter& painter, const QRect& area, std::uint32_t pcmBytes,
                           std::uint32_t codedBytes, const QColor& textColour) {
  const int L = area.x();
  const int T = area.y();
  const int R = area.x() + area.width();
  const int B = area.y() + area.height();
  const int W = R - L;
  const int H = B - T;
  const std::optional<double> ratio = compressionRatio(pcmBytes, codedBytes);
  // W / r truncated; r >= 2^-32, so for a real chart width the quotient
  // fits an int.
  const int w = ratio ? static_cast<int>(W / *ratio) : 0;

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(Qt::black, 0));

  drawBar(painter, spanning(L, T, R, T + H / 2), kChartSourceColour);
  if (ratio) drawBar(painter, spanning(L, B - H / 2, L + w, B), kChartCompressedColour);

  const QFontMetrics metrics = painter.fontMetrics();
  const QString original = originalLabel();
  const QString compressed = compressedLabel(pcmBytes, codedBytes);
  const int textHeight = metrics.height();
  painter.setPen(textColour);

  // "Original": centred on x, its top at y.
  const int originalX = R - (R - w) / 2;
  const int originalY = T + (H / 2) / 2 - textHeight / 2;
  const int originalWidth = metrics.horizontalAdvance(original);
  painter.drawText(QRect(originalX - originalWidth / 2, originalY, originalWidth + 1, textHeight),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, original);

  const int pointerY = (B - H / 2) + (H / 2) / 2;
  const int labelX = ratio ? L + w + 20 : L;
  const int labelY = pointerY - textHeight / 2;
  painter.drawText(QRect(labelX, labelY, metrics.horizontalAdvance(compressed) + 1, textHeight),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, compressed);

  if (ratio) {
    // The line ends just before L + w + 16; the dot is the 5 x 5 pixels
    // from (x - 2, y - 2) to (x + 2, y + 2).
    painter.setPen(QPen(Qt::black, 0));
    painter.drawLine(L + w / 2, pointerY, L + w + 15, pointerY);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QRect(L + w / 2 - 2, pointerY - 2, 4, 4));
  }
  painter.restore();
}

}  // namespace zv
