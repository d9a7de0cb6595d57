// The SIMD form of the QMF step: the 16-bit lines of qmf_step_line16.h with
// the kernels of the instruction set this build targets.
#include "codec/music/qmf_step.h"

#if ZV_QMF_HAVE_SIMD

#include "codec/music/qmf_kernels_neon.h"
#include "codec/music/qmf_kernels_sse2.h"
#include "codec/music/qmf_step_line16.h"

namespace zv::qv160mx {

namespace {
#if ZV_QMF_HAVE_SSE2
using Kernels = line16::Sse2Kernels;
#else
using Kernels = line16::NeonKernels;
#endif
}  // namespace

void qmfAnalysisSimd(const int32_t* in, int32_t* low, int32_t* high, QmfState& state, int n) {
  line16::analysis<Kernels>(in, low, high, state, n);
}

void qmfSynthesisSimd(const int32_t* low, const int32_t* high, int32_t* out, QmfState& state,
                      int n) {
  line16::synthesis<Kernels>(low, high, out, state, n);
}

}  // namespace zv::qv160mx

#endif  // ZV_QMF_HAVE_SIMD
