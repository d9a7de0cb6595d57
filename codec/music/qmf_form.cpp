#include "codec/music/qmf_form.h"

#include <atomic>
#include <cstdlib>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace zv::qv160mx {

namespace {

constexpr unsigned kCpuidSse2Bit = 1u << 26;  // CPUID.1:EDX

// 0 = not decided yet, else the QmfForm value. Deciding twice gives the same
// answer, so concurrent first opens may both decide; one value is stored.
std::atomic<int> gChosenForm{0};

bool scalarFormForced() {
  const char* value = std::getenv("ZV_QMF_FORCE_SCALAR");
  return value != nullptr && value[0] == '1' && value[1] == '\0';
}

}  // namespace

bool processorOffersSimdQmf() {
#if ZV_QMF_HAVE_SIMD && (defined(__x86_64__) || defined(__i386__))
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  // __get_cpuid checks that CPUID exists and that leaf 1 is within range.
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
  return (edx & kCpuidSse2Bit) != 0;
#else
  return false;
#endif
}

QmfForm processQmfForm() {
  int form = gChosenForm.load(std::memory_order_acquire);
  if (form == 0) {
    const int decided = static_cast<int>(
        !scalarFormForced() && processorOffersSimdQmf() ? QmfForm::kSimd : QmfForm::kScalar);
    int expected = 0;
    gChosenForm.compare_exchange_strong(expected, decided, std::memory_order_acq_rel);
    form = gChosenForm.load(std::memory_order_acquire);
  }
  return static_cast<QmfForm>(form);
}

QmfStepRoutines qmfStepRoutines(QmfForm form) {
#if ZV_QMF_HAVE_SIMD
  if (form == QmfForm::kSimd) return {QmfAnalysisSimd, QmfSynthesisSimd};
#else
  (void)form;
#endif
  return {QmfAnalysisScalar, QmfSynthesisScalar};
}

}  // namespace zv::qv160mx
