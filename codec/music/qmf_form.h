// Choice between the scalar and the SIMD form of the QMF step.
//
// The choice is made once per process, the first time an encoder or decoder
// is opened, from the processor's feature flags (CPUID function 1: the SIMD
// form needs SSE2, EDX bit 26, which every x86-64 processor has). Setting the
// environment variable ZV_QMF_FORCE_SCALAR to 1 before that first open forces
// the scalar form, for testing and comparison.
#ifndef ZV_CODEC_MUSIC_QMF_FORM_H
#define ZV_CODEC_MUSIC_QMF_FORM_H

#include "codec/music/qmf_step.h"

namespace zv::qv160mx {

enum class QmfForm { kScalar = 1, kSimd = 2 };

struct QmfStepRoutines {
  QmfAnalysisStep analysis;
  QmfSynthesisStep synthesis;
};

// Whether this processor and build can run the SIMD form.
bool processorOffersSimdQmf();

// The form chosen for this process (decided on the first call, thread-safe;
// later calls return the same answer).
QmfForm processQmfForm();

// The step routines of `form`; the scalar ones when the SIMD form is asked for
// but not available.
QmfStepRoutines qmfStepRoutines(QmfForm form);

}  // namespace zv::qv160mx

#endif  // ZV_CODEC_MUSIC_QMF_FORM_H
