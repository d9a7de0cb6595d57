// The output page's compression statistic: the label "Compressed (%d:1,
// %d%%)" and the two-bar chart that compares the source with the compressed
// clip.
//
// Ratio r = pcmBytes / codedBytes (floating point). The label shows the whole
// part of r and the whole part of 100 / r, both truncated toward zero
// (8000 bytes compressed to 500 give "Compressed (16:1, 6%)"). When either
// size is 0 there is no ratio: nothing divides, and the label says that
// nothing was compressed.
//
// Chart, in the area (L, T, R, B) with R and B just outside it, W = R - L,
// H = B - T, all divisions integer divisions truncating toward zero:
//   source bar      (L, T) to (R, T + H/2), RGB(255, 255, 127), outlined
//   compressed bar  (L, B - H/2) to (L + w, B), w = W / r truncated,
//                   RGB(127, 127, 255), outlined
//   "Original"      centred on x = R - (R - w) / 2, top at
//                   y = T + (H/2)/2 - text height / 2
//   compressed label left/top at (L + w + 20, (B - H/2) + (H/2)/2 - text height / 2)
//   pointer         line from (L + w/2, yc) to (L + w + 16, yc) with
//                   yc = (B - H/2) + (H/2)/2, and a black dot of 5 x 5 pixels
//                   centred on (L + w/2, yc)
// Rectangles include their left and top edge and exclude their right and
// bottom one. With nothing compressed the lower bar and the pointer are left
// out and the label starts at L.
#ifndef ZV_WIZARD_COMPRESSION_CHART_H
#define ZV_WIZARD_COMPRESSION_CHART_H

#include <QColor>
#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>

class QFontMetrics;
class QPainter;

namespace zv {

inline constexpr QColor kChartSourceColour{255, 255, 127};
inline constexpr QColor kChartCompressedColour{127, 127, 255};

// r = pcmBytes / codedBytes, or nothing when either size is 0.
std::optional<double> compressionRatio(std::uint32_t pcmBytes, std::uint32_t codedBytes);

// "Compressed (16:1, 6%)", or "Compressed (nothing was compressed)".
QString compressedLabel(std::uint32_t pcmBytes, std::uint32_t codedBytes);

// "Original".
QString originalLabel();

// Draws the chart in `area` with the painter's current font for the labels
// and `textColour` for their text. Leaves the painter's state as it found it.
void paintCompressionChart(QPainter& painter, const QRect& area, std::uint32_t pcmBytes,
                           std::uint32_t codedBytes, const QColor& textColour);

}  // namespace zv

#endif  // ZV_WIZARD_COMPRESSION_CHART_H
