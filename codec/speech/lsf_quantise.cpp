#include "codec/speech/lsf_quantise.h"

#include "codec/speech/lsf_reconstruct.h"
#include "codec/speech/speech_tables.h"

namespace zv::ZV_QV80_NAMESPACE {
namespace {

// Every search starts from this distance; LSF distances never reach it.
constexpr float kFarDistance = 6.9f;

// |a − b|: one subtraction of two floats, which float arithmetic rounds as
// the reference (double-rounding lemma, ARITHMETIC.md).
float distance(float a, float b) {
  const float d = a - b;
  return d < 0 ? -d : d;
}

// Index of the entry of `table` nearest `target` among entries strictly
// above `bound`; the last entry when none is above it.
int nearestAbove(const FloatTable& table, float target, float bound) {
  int best = -1;
  float bestDistance = kFarDistance;
  for (int i = 0; i < table.size; ++i) {
    if (!(table.values[i] > bound)) continue;
    const float d = distance(target, table.values[i]);
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best < 0 ? table.size - 1 : best;
}

}  // namespace

void quantiseLsf(const float lsf[kLsfCount], int indices[kLsfCount],
                 float quantised[kLsfCount]) {
  // ω0 has no lower bound: every entry of E0 is a candidate.
  {
    const FloatTable& table = kEvenLsfTables[0];
    int best = 0;
    float bestDistance = kFarDistance;
    for (int i = 0; i < table.size; ++i) {
      const float d = distance(lsf[0], table.values[i]);
      if (d < bestDistance) {
        bestDistance = d;
        best = i;
      }
    }
    indices[0] = best;
    quantised[0] = table.values[best];
  }
  for (int j = 1; j < 5; ++j) {
    const float below = quantised[2 * j - 2];
    const float bound = below > lsf[2 * j - 1] ? below : lsf[2 * j - 1];
    const int index = nearestAbove(kEvenLsfTables[j], lsf[2 * j], bound);
    indices[2 * j] = index;
    quantised[2 * j] = kEvenLsfTables[j].values[index];
  }
  for (int j = 0; j < 5; ++j) {
    const float lo = quantised[2 * j];
    const float hi = upperNeighbour(quantised, j);
    const float half = halfGap(lo, hi);
    const int n = kOddLsfFractions[j].size;
    int best = 0;
    float bestValue = oddLsf(j, 0, lo, hi, half);
    float bestDistance = kFarDistance;
    for (int i = 0; i < n; ++i) {
      const float candidate = oddLsf(j, i, lo, hi, half);
      const float d = distance(lsf[2 * j + 1], candidate);
      if (d < bestDistance) {
        bestDistance = d;
        best = i;
        bestValue = candidate;
      }
    }
    indices[2 * j + 1] = best;
    quantised[2 * j + 1] = bestValue;
  }
}

}  // namespace zv::ZV_QV80_NAMESPACE
