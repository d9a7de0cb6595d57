#include "codec/speech/lsf_reconstruct.h"

#include "codec/speech/certified_rounding.h"
#include "codec/speech/certified_sums.h"
#include "codec/speech/speech_tables.h"

namespace zv::ZV_QV80_NAMESPACE {

float halfGap(float lo, float hi) {
  // Double gives the reference's float: halving is exact in both
  // precisions, so each rounds z = hi/2 − lo/2 once and then to float, and
  // for one operation of two floats that is the float's own rounding
  // (double-rounding lemma, ARITHMETIC.md). A difference small enough to
  // halve into float's subnormals is exact in both.
  // The reference build keeps the definition.
  if (kFastPaths) return static_cast<float>((static_cast<double>(hi) - lo) * 0.5);
  return static_cast<float>((static_cast<Ext>(hi) - lo) * 0.5f);
}

float oddLsf(int j, int index, float lo, float hi, float half) {
  const FloatTable& table = kOddLsfFractions[j];
  index &= table.size - 1;
  const float f = table.values[index];
  // lo + f·half or hi − f·half = hi + (−f)·half: one rounding of a product
  // added to a float.
  if (index < table.size / 2 + 1) return multiplyAdd(lo, f, half);
  return multiplyAdd(hi, -f, half);
}

float upperNeighbour(const float lsf[kLsfCount], int j) {
  return j < 4 ? lsf[2 * j + 2] : kPiFloat;
}

void reconstructLsf(const int indices[kLsfCount], float lsf[kLsfCount]) {
  for (int j = 0; j < 5; ++j) {
    const FloatTable& table = kEvenLsfTables[j];
    lsf[2 * j] = table.values[indices[2 * j] & (table.size - 1)];
  }
  for (int j = 0; j < 5; ++j) {
    const float lo = lsf[2 * j];
    const float hi = upperNeighbour(lsf, j);
    lsf[2 * j + 1] = oddLsf(j, indices[2 * j + 1], lo, hi, halfGap(lo, hi));
  }
}

}  // namespace zv::ZV_QV80_NAMESPACE
