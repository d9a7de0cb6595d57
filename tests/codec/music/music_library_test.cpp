// The built libQV160MXW.so as the encoding engine sees it: loaded at run
// time, its entry points bound by ordinal, reproducing the vectors with the
// filter-bank form it picks for this processor (both forms are checked
// against the vectors through the internal library, music_conformance_test).
#include <gtest/gtest.h>

#include <cstring>

#include "codec/music/qmf_form.h"
#include <zv/qv160mx.h>
#include "music_test_support.h"
#include "platform/module.h"

namespace zv::qv160mx::test {
namespace {

class MusicLibrary : public testing::Test {
 protected:
  void SetUp() override {
    module_ = Module::load(QV160MXW_LIBRARY_FILE);
    ASSERT_TRUE(module_.loaded()) << module_.error();
    open_coder_ = reinterpret_cast<ZvOpenFn>(module_.ordinal(ZV_ORD_OPEN_CODER));
    encode_ = reinterpret_cast<ZvEncodeFn>(module_.ordinal(ZV_ORD_ENCODE));
    close_coder_ = reinterpret_cast<ZvCloseFn>(module_.ordinal(ZV_ORD_CLOSE_CODER));
    open_decoder_ = reinterpret_cast<ZvOpenFn>(module_.ordinal(ZV_ORD_OPEN_DECODER));
    decode_ = reinterpret_cast<ZvDecodeFn>(module_.ordinal(ZV_ORD_DECODE));
    close_decoder_ = reinterpret_cast<ZvCloseFn>(module_.ordinal(ZV_ORD_CLOSE_DECODER));
    get_info_ex_ = reinterpret_cast<ZvGetCodecInfoExFn>(module_.ordinal(ZV_ORD_GET_CODEC_INFO_EX));
    ASSERT_TRUE(open_coder_ && encode_ && close_coder_ && open_decoder_ && decode_ && close_decoder_ &&
                get_info_ex_);
  }

  Module module_;
  ZvOpenFn open_coder_ = nullptr;
  ZvEncodeFn encode_ = nullptr;
  ZvCloseFn close_coder_ = nullptr;
  ZvOpenFn open_decoder_ = nullptr;
  ZvDecodeFn decode_ = nullptr;
  ZvCloseFn close_decoder_ = nullptr;
  ZvGetCodecInfoExFn get_info_ex_ = nullptr;
};

TEST_F(MusicLibrary, EncodesAndDecodesTheVectorsAsTheEngineCallsIt) {
  // The engine's rhythm: read the record for the block sizes, then per frame
  // set the counts to those sizes and use what the library reports back.
  CodecInfoEx info;
  get_info_ex_(&info, sizeof info);
  ASSERT_EQ(+info.pcmBytesPerFrame, 256);
  ASSERT_EQ(+info.maxCodedBytes, 39);

  auto pcm = readFileBytes(vectorPath("vowels.raw"));
  pcm.resize((pcm.size() + 255) / 256 * 256, 0);
  void* encoder = open_coder_(1);
  ASSERT_NE(encoder, nullptr);
  std::vector<uint8_t> frames;
  for (size_t pos = 0; pos < pcm.size(); pos += info.pcmBytesPerFrame) {
    uint8_t coded[39];
    uint16_t pcmBytes = info.pcmBytesPerFrame, codedBytes = info.maxCodedBytes;
    ASSERT_EQ(encode_(encoder, pcm.data() + pos, &pcmBytes, coded, &codedBytes), 0);
    frames.insert(frames.end(), coded, coded + codedBytes);
  }
  EXPECT_EQ(close_coder_(encoder), 0);
  EXPECT_EQ(frames, readFileBytes(vectorPath("vowels.qv160")));

  void* decoder = open_decoder_(1);
  ASSERT_NE(decoder, nullptr);
  std::vector<uint8_t> decoded;
  for (size_t pos = 0; pos < frames.size();) {
    uint16_t codedBytes = static_cast<uint16_t>(std::min<size_t>(39, frames.size() - pos));
    uint16_t pcmBytes = info.pcmBytesPerFrame;
    uint8_t block[256];
    ASSERT_EQ(decode_(decoder, frames.data() + pos, &codedBytes, block, &pcmBytes), 0);
    decoded.insert(decoded.end(), block, block + pcmBytes);
    pos += codedBytes;
  }
  EXPECT_EQ(close_decoder_(decoder), 0);
  EXPECT_EQ(decoded, readFileBytes(vectorPath("vowels.qv160.dec.raw")));
}

TEST(MusicFormChoice, FollowsTheKernelLevelOfTheInstance) {
  EXPECT_EQ(qmfFormFor(cpu::Arch::kScalar), QmfForm::kScalar);
#if ZV_QMF_HAVE_SSE2
  EXPECT_EQ(qmfFormFor(cpu::Arch::kSse2), QmfForm::kSimd);
  EXPECT_EQ(qmfFormFor(cpu::Arch::kAvx2), QmfForm::kSimd);
#endif
#if ZV_QMF_HAVE_NEON
  EXPECT_EQ(qmfFormFor(cpu::Arch::kNeon), QmfForm::kSimd);
#endif
#if defined(__x86_64__)
  EXPECT_TRUE(processorOffersSimdQmf()) << "every x86-64 processor has SSE2";
#elif defined(__aarch64__)
  EXPECT_TRUE(processorOffersSimdQmf()) << "every AArch64 processor has Advanced SIMD";
#endif
}

}  // namespace
}  // namespace zv::qv160mx::test
