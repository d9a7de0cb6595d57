// Choice between the scalar and the SIMD form of the QMF step.
//
// Each encoder and decoder takes its form once, when it is opened, from the
// kernel level of the processor (codec/cpu_features.h): the SIMD form from
// the SSE2 level up (x86) or at the NEON level (AArch64) where the build has
// it, the scalar form otherwise. The tests open instances in both forms.
#ifndef ZV_CODEC_MUSIC_QMF_FORM_H
#define ZV_CODEC_MUSIC_QMF_FORM_H

#include "codec/cpu_features.h"
#include "codec/music/qmf_step.h"

namespace zv::qv160mx {

enum class QmfForm { kScalar = 1, kSimd = 2 };

struct QmfStepRoutines {
  QmfAnalysisStep analysis;
  QmfSynthesisStep synthesis;
};

// Whether this processor and build can run the SIMD form.
bool processorOffersSimdQmf();

// The form an instance opened at kernel level `arch` uses.
QmfForm qmfFormFor(cpu::Arch arch);

// The step routines of `form`; the scalar ones when the SIMD form is asked for
// but not built.
QmfStepRoutines qmfStepRoutines(QmfForm form);

}  // namespace zv::qv160mx

#endif  // ZV_CODEC_MUSIC_QMF_FORM_H
