#include "codec/music/qmf_form.h"

namespace zv::qv160mx {

bool processorOffersSimdQmf() {
#if ZV_QMF_HAVE_SIMD
  return cpu::processorRuns(ZV_QMF_HAVE_NEON ? cpu::Arch::kNeon : cpu::Arch::kSse2);
#else
  return false;
#endif
}

QmfForm qmfFormFor(cpu::Arch arch) {
  return ZV_QMF_HAVE_SIMD && arch != cpu::Arch::kScalar ? QmfForm::kSimd : QmfForm::kScalar;
}

QmfStepRoutines qmfStepRoutines(QmfForm form) {
#if ZV_QMF_HAVE_SIMD
  if (form == QmfForm::kSimd) return {qmfAnalysisSimd, qmfSynthesisSimd};
#else
  (void)form;
#endif
  return {qmfAnalysisScalar, qmfSynthesisScalar};
}

}  // namespace zv::qv160mx
