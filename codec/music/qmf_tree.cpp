// The high branch of a QMF split comes out spectrally inverted: its lowest
// frequencies sit at the top of its band. Splitting it again therefore gives
// the upper sub-band on the "low" output. The trees undo this by exchanging
// the outputs of every odd-numbered split within a level, which puts the
// bands in ascending frequency:
//
//   split j of a level with n outputs per branch writes into the level's area
//     j even: low at 2jn, high at (2j+1)n
//     j odd:  high at 2jn, low at (2j+1)n
//
// The synthesis tree mirrors this: merge j takes blocks (2j, 2j+1) as
// (low, high) when j is even and (2j+1, 2j) when j is odd, and writes its 2n
// outputs at 2jn.
#include "codec/music/qmf_tree.h"

namespace zv::qv160mx {

void analysisTree(QmfAnalysisStep step, int32_t area[kTreeAreaSamples],
                  QmfState states[kTreeSteps]) {
  QmfState* state = states;
  for (int level = 0, splits = 1; level < 3; ++level, splits *= 2) {
    const int32_t* in = area + level * kTreeLevelSamples;
    int32_t* out = area + (level + 1) * kTreeLevelSamples;
    const int n = kTreeLevelSamples / (2 * splits);
    for (int j = 0; j < splits; ++j) {
      int32_t* first = out + 2 * j * n;
      int32_t* second = first + n;
      if (j % 2 == 0) {
        step(in + 2 * j * n, first, second, *state++, n);
      } else {
        step(in + 2 * j * n, second, first, *state++, n);
      }
    }
  }
}

void synthesisTree(QmfSynthesisStep step, int32_t area[kTreeAreaSamples],
                   QmfState states[kTreeSteps]) {
  QmfState* state = states;
  for (int level = 0, merges = 4; level < 3; ++level, merges /= 2) {
    const int32_t* in = area + level * kTreeLevelSamples;
    int32_t* out = area + (level + 1) * kTreeLevelSamples;
    const int n = kTreeLevelSamples / (2 * merges);
    for (int j = 0; j < merges; ++j) {
      const int32_t* first = in + 2 * j * n;
      const int32_t* second = first + n;
      if (j % 2 == 0) {
        step(first, second, out + 2 * j * n, *state++, n);
      } else {
        step(second, first, out + 2 * j * n, *state++, n);
      }
    }
  }
}

}  // namespace zv::qv160mx
