// The two forms of the QMF step against a model written straight from the
// definition (delay lines shifted once per sample, newest first), on signals
// inside and outside 16 bits, and across call sizes that exercise the
// vector loops, their tails and the chunking.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "codec/music/qmf_form.h"
#include "codec/music/qmf_step.h"
#include "codec/music/tables.h"

namespace zv::qv160mx {
namespace {

int32_t wrap32(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }
int32_t sat16(int64_t v) { return v > 32767 ? 32767 : v < -32768 ? -32768 : static_cast<int32_t>(v); }
int32_t low16(int32_t v) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(v))); }

// The step as defined, for one direction. `packed16` selects the SIMD form's
// 16-bit treatment of inputs, sums and differences.
struct ModelStep {
  int64_t first[8] = {};   // A or D, newest first
  int64_t second[8] = {};  // B or S, newest first
  bool packed16 = false;

  static void shift(int64_t* line) {
    for (int k = 7; k > 0; --k) line[k] = line[k - 1];
  }
  // Sum of 32-bit products, wrapped to 32 bits at the end (the same as
  // wrapping each step, as addition modulo 2^32 is associative).
  static int32_t dot(const int64_t* line, bool reversedTaps) {
    int64_t sum = 0;
    for (int k = 0; k < 8; ++k) {
      sum += static_cast<int64_t>(wrap32(kQmfEvenTaps[reversedTaps ? 7 - k : k] * line[k]));
    }
    return wrap32(sum);
  }

  void analysis(const std::vector<int32_t>& in, std::vector<int32_t>& low, std::vector<int32_t>& high) {
    for (size_t i = 0; i < in.size() / 2; ++i) {
      shift(first);
      shift(second);
      second[0] = packed16 ? low16(in[2 * i]) : in[2 * i];
      first[0] = packed16 ? low16(in[2 * i + 1]) : in[2 * i + 1];
      const int32_t a = dot(first, false);   // sum h[k] A[k]
      const int32_t b = dot(second, true);   // sum h[7-k] B[k]
      low.push_back(wrap32(int64_t{a} + b) >> 15);
      high.push_back(wrap32(int64_t{a} - b) >> 15);
    }
  }

  void synthesis(const std::vector<int32_t>& low, const std::vector<int32_t>& high,
                 std::vector<int32_t>& out) {
    for (size_t i = 0; i < low.size(); ++i) {
      shift(first);
      shift(second);
      if (packed16) {
        const int32_t l = sat16(low[i]), h = sat16(high[i]);
        second[0] = sat16(l + h);
        first[0] = sat16(l - h);
      } else {
        second[0] = wrap32(int64_t{low[i]} + high[i]);
        first[0] = wrap32(int64_t{low[i]} - high[i]);
      }
      out.push_back(dot(first, false) >> 15);    // sum h[k] D[k]
      out.push_back(dot(second, true) >> 15);    // sum h[7-k] S[k]
    }
  }
};

struct Step {
  QmfForm form;
  QmfState state{};
  void analysis(const std::vector<int32_t>& in, std::vector<int32_t>& low, std::vector<int32_t>& high) {
    const size_t n = in.size() / 2;
    const size_t at = low.size();
    low.resize(at + n);
    high.resize(at + n);
    qmfStepRoutines(form).analysis(in.data(), low.data() + at, high.data() + at, state, static_cast<int>(n));
  }
  void synthesis(const std::vector<int32_t>& low, const std::vector<int32_t>& high,
                 std::vector<int32_t>& out) {
    const size_t at = out.size();
    out.resize(at + 2 * low.size());
    qmfStepRoutines(form).synthesis(low.data(), high.data(), out.data() + at, state,
                                    static_cast<int>(low.size()));
  }
};

std::vector<int32_t> randomSamples(std::mt19937& random, size_t count, int32_t lo, int32_t hi) {
  std::uniform_int_distribution<int32_t> value(lo, hi);
  std::vector<int32_t> samples(count);
  for (auto& s : samples) s = value(random);
  return samples;
}

// Call sizes: the tree's 16, 32 and 64, odd sizes for the tails, and sizes
// beyond one internal chunk.
const int kCallSizes[] = {16, 1, 3, 64, 5, 32, 7, 100, 2, 130, 9, 4, 65};

struct Signal {
  const char* name;
  int32_t lo, hi;
};

class QmfStepForms : public testing::TestWithParam<QmfForm> {
 protected:
  void SetUp() override {
    if (GetParam() == QmfForm::kSimd && !processorOffersSimdQmf())
      GTEST_SKIP() << "this processor or build has no SIMD filter bank";
  }
  // The model of this form: the SIMD form is the 16-bit one.
  ModelStep model() const {
    ModelStep m;
    m.packed16 = GetParam() == QmfForm::kSimd;
    return m;
  }
};

TEST_P(QmfStepForms, AnalysisFollowsTheDefinitionOnAnySignal) {
  const Signal signals[] = {
      {"16-bit", -32768, 32767},
      {"beyond 16 bits", -200000, 200000},
      {"full 32-bit range", INT32_MIN, INT32_MAX},  // products and sums wrap
  };
  std::mt19937 random(11);
  for (const Signal& signal : signals) {
    SCOPED_TRACE(signal.name);
    ModelStep expected = model();
    Step actual{GetParam()};
    std::vector<int32_t> lowExpected, highExpected, low, high;
    for (int n : kCallSizes) {
      const auto in = randomSamples(random, 2 * static_cast<size_t>(n), signal.lo, signal.hi);
      expected.analysis(in, lowExpected, highExpected);
      actual.analysis(in, low, high);
    }
    EXPECT_EQ(low, lowExpected);
    EXPECT_EQ(high, highExpected);
  }
}

TEST_P(QmfStepForms, SynthesisFollowsTheDefinitionOnAnySignal) {
  const Signal signals[] = {
      {"sums within 16 bits", -16384, 16383},
      {"sums beyond 16 bits", -32768, 32767},
      {"inputs beyond 16 bits", -100000, 100000},
      {"full 32-bit range", INT32_MIN, INT32_MAX},
  };
  std::mt19937 random(12);
  for (const Signal& signal : signals) {
    SCOPED_TRACE(signal.name);
    ModelStep expected = model();
    Step actual{GetParam()};
    std::vector<int32_t> outExpected, out;
    for (int n : kCallSizes) {
      const auto low = randomSamples(random, static_cast<size_t>(n), signal.lo, signal.hi);
      const auto high = randomSamples(random, static_cast<size_t>(n), signal.lo, signal.hi);
      expected.synthesis(low, high, outExpected);
      actual.synthesis(low, high, out);
    }
    EXPECT_EQ(out, outExpected);
  }
}

INSTANTIATE_TEST_SUITE_P(Forms, QmfStepForms, testing::Values(QmfForm::kScalar, QmfForm::kSimd),
                         [](const testing::TestParamInfo<QmfForm>& info) {
                           return info.param == QmfForm::kSimd ? std::string("Simd")
                                                               : std::string("Scalar");
                         });

TEST(QmfStepFormsAgree, IdenticalWithin16BitsDifferentBeyond) {
  if (!processorOffersSimdQmf())
    GTEST_SKIP() << "this processor or build has no SIMD filter bank";
  std::mt19937 random(13);
  // Within 16 bits (synthesis: sums and differences too) both forms agree.
  {
    Step scalar{QmfForm::kScalar}, simd{QmfForm::kSimd};
    std::vector<int32_t> ls, hs, lv, hv, os, ov;
    for (int n : kCallSizes) {
      const auto in = randomSamples(random, 2 * static_cast<size_t>(n), -32768, 32767);
      scalar.analysis(in, ls, hs);
      simd.analysis(in, lv, hv);
    }
    EXPECT_EQ(ls, lv);
    EXPECT_EQ(hs, hv);
    Step scalarSynthesis{QmfForm::kScalar}, simdSynthesis{QmfForm::kSimd};
    for (int n : kCallSizes) {
      const auto low = randomSamples(random, static_cast<size_t>(n), -16384, 16383);
      const auto high = randomSamples(random, static_cast<size_t>(n), -16384, 16383);
      scalarSynthesis.synthesis(low, high, os);
      simdSynthesis.synthesis(low, high, ov);
    }
    EXPECT_EQ(os, ov);
  }
  // Analysis of x + 65536: the SIMD form sees x again, the scalar form does not.
  {
    const auto in = randomSamples(random, 64, -30000, 30000);
    std::vector<int32_t> shifted(in);
    for (auto& s : shifted) s += 65536;
    Step simdPlain{QmfForm::kSimd}, simdShifted{QmfForm::kSimd}, scalarShifted{QmfForm::kScalar};
    std::vector<int32_t> l1, h1, l2, h2, l3, h3;
    simdPlain.analysis(in, l1, h1);
    simdShifted.analysis(shifted, l2, h2);
    scalarShifted.analysis(shifted, l3, h3);
    EXPECT_EQ(l1, l2);
    EXPECT_EQ(h1, h2);
    EXPECT_NE(l1, l3);
  }
  // Synthesis of full-scale low and high of equal sign: the SIMD form clips
  // the sum at 32767, the scalar form keeps 65534.
  {
    const std::vector<int32_t> low(16, 32767), high(16, 32767);
    Step scalar{QmfForm::kScalar}, simd{QmfForm::kSimd};
    std::vector<int32_t> os, ov;
    scalar.synthesis(low, high, os);
    simd.synthesis(low, high, ov);
    // After 8 inputs the lines are full: odd outputs are sum_k h[7-k] S[k] >> 15
    // with S = 65534 (scalar) or 32767 (SIMD): 16374 * S >> 15.
    EXPECT_EQ(os[31], (16374 * 65534) >> 15);
    EXPECT_EQ(ov[31], (16374 * 32767) >> 15);
  }
}

}  // namespace
}  // namespace zv::qv160mx
