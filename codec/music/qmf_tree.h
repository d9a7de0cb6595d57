// The three-level QMF trees that split a frame into 8 subbands and merge
// them again.
//
// Both trees work in a 512-entry area of 32-bit samples, four blocks of 128:
//   analysis:  [0,128) input samples, then level 1, 2, 3 outputs; the
//              8 bands of 16 samples are [384,512), band 0 (lowest) first;
//   synthesis: [0,128) the 8 bands, then the outputs of the three merge
//              levels; the 128 output samples are [384,512).
// Seven step states per direction, in the order the tree visits them:
//   analysis:  level-1 split, two level-2 splits, four level-3 splits;
//   synthesis: four first-level merges, two second-level merges, final merge.
#ifndef ZV_CODEC_MUSIC_QMF_TREE_H
#define ZV_CODEC_MUSIC_QMF_TREE_H

#include <cstdint>

#include "codec/music/qmf_step.h"

namespace zv::qv160mx {

inline constexpr int kTreeAreaSamples = 512;
inline constexpr int kTreeLevelSamples = 128;
inline constexpr int kTreeSteps = 7;

// Splits area[0,128) into the 8 bands at area[384,512).
void analysisTree(QmfAnalysisStep step, int32_t area[kTreeAreaSamples],
                  QmfState states[kTreeSteps]);

// Merges the 8 bands at area[0,128) into 128 samples at area[384,512).
void synthesisTree(QmfSynthesisStep step, int32_t area[kTreeAreaSamples],
                   QmfState states[kTreeSteps]);

}  // namespace zv::qv160mx

#endif  // ZV_CODEC_MUSIC_QMF_TREE_H
