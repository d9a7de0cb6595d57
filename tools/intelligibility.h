// Short-time objective intelligibility (STOI) of decoded speech against its
// source: a figure between about 0 and 1 that follows how many words listeners
// understand, from the published description of the measure (Taal, Hendriks,
// Heusdens and Jensen, IEEE TASLP 19(7), 2011). Written from that description:
//
//  1. Both signals are resampled to 10 kHz.
//  2. Silent frames are dropped from both: 256-sample Hann-windowed frames with
//     50 % overlap whose source energy is more than 40 dB below the loudest
//     source frame; the frames kept are overlap-added again.
//  3. A short-time DFT of 256-sample Hann frames, 50 % overlap, zero-padded to
//     512 points.
//  4. Fifteen one-third-octave bands, the lowest centred at 150 Hz; a band's
//     envelope is the root of the summed bin powers.
//  5. For every band and every run of 30 consecutive frames (384 ms), the
//     decoded envelope is scaled to the source's energy and clipped at
//     (1 + 10^(15/20)) times the source envelope (a signal-to-distortion floor
//     of −15 dB), and the correlation coefficient of the two envelopes taken.
//  6. The figure is the mean of those correlations.
//
// The measure needs at least 30 frames of speech (about 0.4 s); with fewer it
// gives no figure.
#ifndef ZV_TOOLS_INTELLIGIBILITY_H
#define ZV_TOOLS_INTELLIGIBILITY_H

#include <cstdint>
#include <optional>
#include <span>

namespace zv::quality {

// STOI of decoded[n + delay] against source[n] (both at `sampleRate`), over
// the samples both have; nothing when fewer than 30 speech frames remain.
std::optional<double> shortTimeIntelligibility(std::span<const int16_t> source,
                                               std::span<const int16_t> decoded,
                                               std::size_t delay, int sampleRate = 8000);

}  // namespace zv::quality

#endif  // ZV_TOOLS_INTELLIGIBILITY_H
