// The contract every codec library keeps with the encoding engine, checked
// over a table of the codecs: each library loaded at run time as the engine
// loads it, its entry points bound by ordinal. The ordinal table, NULL
// arguments, and the two information records. What differs between the
// codecs (count rules, frames) is tested per codec.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <zv/codec_api.h>
#include "platform/module.h"

namespace zv::codec_test {
namespace {

struct CodecContract {
  const char* library;  // the built shared library
  const char* prefix;   // of its entry points' names
  // The information records.
  uint16_t pcmBytesPerFrame;
  uint16_t maxCodedBytes;
  uint16_t minCodedBytes;
  uint16_t codecId;
  const char* shortName;  // CodecInfo
  const char* longName;   // CodecInfoEx
  uint32_t capabilities[4];
  uint16_t capability5;
  uint32_t avgCodedBytesPerSecond;
};

void PrintTo(const CodecContract& codec, std::ostream* out) { *out << codec.prefix; }

const CodecContract kCodecs[] = {
    {QV80W_LIBRARY_FILE, "QV80_", 320, 20, 20, 2022, "Quaverline(TM)80 Codec",
     "Quaverline(TM)80 Codec (8.0 kbps, 8 kHz)", {0, 0, 1, 1}, 1, 1000},
    {QV160MXW_LIBRARY_FILE, "QV160MX_", 256, 39, 31, 1, "QV160MX Codec (16kbps,8kHz)",
     "QV160MX Codec (16kbps,8kHz)", {1, 1, 1, 0}, 1, 2000},
    {QV48W_LIBRARY_FILE, "QV48_", 480, 18, 18, 48, "Quaverline(TM)48 Codec",
     "Quaverline(TM)48 Codec (4.8 kbps, 8 kHz)", {0, 0, 1, 1}, 1, 600},
};

constexpr const char* kEntryPointNames[8] = {"Open_Coder",   "Encode",       "Close_Coder",
                                              "Open_Decoder", "Decode",       "Close_Decoder",
                                              "GetCodecInfo", "GetCodecInfoEx"};
constexpr uint32_t kVersion = 0x00030000;

class CodecContractTest : public testing::TestWithParam<CodecContract> {
 protected:
  void SetUp() override {
    module_ = Module::load(GetParam().library);
    ASSERT_TRUE(module_.loaded()) << module_.error();
    open_coder_ = reinterpret_cast<ZvOpenFn>(module_.ordinal(ZV_ORD_OPEN_CODER));
    encode_ = reinterpret_cast<ZvEncodeFn>(module_.ordinal(ZV_ORD_ENCODE));
    close_coder_ = reinterpret_cast<ZvCloseFn>(module_.ordinal(ZV_ORD_CLOSE_CODER));
    open_decoder_ = reinterpret_cast<ZvOpenFn>(module_.ordinal(ZV_ORD_OPEN_DECODER));
    decode_ = reinterpret_cast<ZvDecodeFn>(module_.ordinal(ZV_ORD_DECODE));
    close_decoder_ = reinterpret_cast<ZvCloseFn>(module_.ordinal(ZV_ORD_CLOSE_DECODER));
    get_info_ = reinterpret_cast<ZvGetCodecInfoFn>(module_.ordinal(ZV_ORD_GET_CODEC_INFO));
    get_info_ex_ = reinterpret_cast<ZvGetCodecInfoExFn>(module_.ordinal(ZV_ORD_GET_CODEC_INFO_EX));
    ASSERT_TRUE(open_coder_ && encode_ && close_coder_ && open_decoder_ && decode_ &&
                close_decoder_ && get_info_ && get_info_ex_);
  }

  Module module_;
  ZvOpenFn open_coder_ = nullptr;
  ZvEncodeFn encode_ = nullptr;
  ZvCloseFn close_coder_ = nullptr;
  ZvOpenFn open_decoder_ = nullptr;
  ZvDecodeFn decode_ = nullptr;
  ZvCloseFn close_decoder_ = nullptr;
  ZvGetCodecInfoFn get_info_ = nullptr;
  ZvGetCodecInfoExFn get_info_ex_ = nullptr;
};

TEST_P(CodecContractTest, OrdinalsOneToEightAreTheNamedEntryPointsInOrder) {
  const CodecContract& codec = GetParam();
  for (unsigned n = 1; n <= 8; ++n) {
    const std::string name = std::string(codec.prefix) + kEntryPointNames[n - 1];
    void* named = module_.symbol(name.c_str());
    ASSERT_NE(named, nullptr) << name;
    EXPECT_EQ(reinterpret_cast<void*>(module_.ordinal(n)), named) << "ordinal " << n;
  }
  EXPECT_EQ(module_.ordinal(9), nullptr);
}

TEST_P(CodecContractTest, NullArgumentsAreRejectedAndNothingIsWritten) {
  const CodecContract& codec = GetParam();
  EXPECT_EQ(close_coder_(nullptr), 0);
  EXPECT_EQ(close_decoder_(nullptr), 0);
  EXPECT_EQ(get_info_(nullptr), nullptr);
  get_info_ex_(nullptr, ZV_CODEC_INFO_EX_SIZE);

  void* coder = open_coder_(1);
  void* decoder = open_decoder_(1);
  ASSERT_NE(coder, nullptr);
  ASSERT_NE(decoder, nullptr);
  // Each call gets valid counts and buffers except for the one NULL.
  for (int nullArgument = 0; nullArgument < 5; ++nullArgument) {
    SCOPED_TRACE(testing::Message() << "argument " << nullArgument + 1 << " NULL");
    std::vector<uint8_t> pcm(codec.pcmBytesPerFrame, 0x11), coded(codec.maxCodedBytes, 0x22);
    uint16_t pcmBytes = codec.pcmBytesPerFrame, codedBytes = codec.maxCodedBytes;
    auto pick = [&](int argument, auto* pointer) {
      return argument == nullArgument ? nullptr : pointer;
    };
    EXPECT_EQ(encode_(pick(0, coder), pick(1, pcm.data()), pick(2, &pcmBytes),
                      pick(3, coded.data()), pick(4, &codedBytes)),
              ZV_CODEC_BAD_SIZES);
    EXPECT_EQ(decode_(pick(0, decoder), pick(1, coded.data()), pick(2, &codedBytes),
                      pick(3, pcm.data()), pick(4, &pcmBytes)),
              ZV_CODEC_BAD_SIZES);
    EXPECT_EQ(pcmBytes, codec.pcmBytesPerFrame);
    EXPECT_EQ(codedBytes, codec.maxCodedBytes);
    EXPECT_EQ(pcm, std::vector<uint8_t>(codec.pcmBytesPerFrame, 0x11));
    EXPECT_EQ(coded, std::vector<uint8_t>(codec.maxCodedBytes, 0x22));
  }
  EXPECT_EQ(close_coder_(coder), 0);
  EXPECT_EQ(close_decoder_(decoder), 0);
}

// The records are byte-packed: fields are read by value (unary +), never
// bound to a reference, since a misaligned reference is undefined.
TEST_P(CodecContractTest, CodecInfoFillsItsFieldsAndTheNameOnlyUpToItsNul) {
  const CodecContract& codec = GetParam();
  CodecInfo info;
  std::memset(&info, 0xEE, sizeof info);
  EXPECT_EQ(get_info_(&info), &info);
  EXPECT_EQ(+info.pcmBytesPerFrame, codec.pcmBytesPerFrame);
  EXPECT_EQ(+info.maxCodedBytes, codec.maxCodedBytes);
  EXPECT_EQ(+info.bitsPerSample, 16);
  EXPECT_EQ(+info.sampleRateHz, 8000u);
  EXPECT_EQ(+info.codecId, codec.codecId);
  EXPECT_STREQ(info.name, codec.shortName);
  for (size_t i = std::strlen(codec.shortName) + 1; i < sizeof info.name; ++i)
    EXPECT_EQ(static_cast<uint8_t>(info.name[i]), 0xEE) << "name byte " << i;
  EXPECT_EQ(+info.version, kVersion);
}

TEST_P(CodecContractTest, CodecInfoExIsWrittenOnlyForItsExactSize) {
  const CodecContract& codec = GetParam();
  for (const uint32_t size : {0u, 56u, 121u, 123u, 244u}) {
    CodecInfoEx info;
    std::memset(&info, 0x77, sizeof info);
    get_info_ex_(&info, size);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&info);
    for (size_t i = 0; i < sizeof info; ++i)
      ASSERT_EQ(bytes[i], 0x77) << "size " << size << ", byte " << i;
  }
  CodecInfoEx info;
  std::memset(&info, 0x77, sizeof info);
  get_info_ex_(&info, ZV_CODEC_INFO_EX_SIZE);
  EXPECT_EQ(+info.codecId, codec.codecId);
  EXPECT_STREQ(info.name, codec.longName);
  for (size_t i = std::strlen(codec.longName) + 1; i < sizeof info.name; ++i)
    EXPECT_EQ(static_cast<uint8_t>(info.name[i]), 0x77) << "name byte " << i;
  EXPECT_EQ(+info.capability1, codec.capabilities[0]);
  EXPECT_EQ(+info.capability2, codec.capabilities[1]);
  EXPECT_EQ(+info.capability3, codec.capabilities[2]);
  EXPECT_EQ(+info.capability4, codec.capabilities[3]);
  EXPECT_EQ(+info.capability5, codec.capability5);
  EXPECT_EQ(+info.sampleRateHz, 8000u);
  EXPECT_EQ(+info.bitsPerSample, 16);
  EXPECT_EQ(+info.avgCodedBytesPerSecond, codec.avgCodedBytesPerSecond);
  EXPECT_EQ(+info.pcmBytesPerFrame, codec.pcmBytesPerFrame);
  EXPECT_EQ(+info.maxCodedBytes, codec.maxCodedBytes);
  EXPECT_EQ(+info.minCodedBytes, codec.minCodedBytes);
  EXPECT_EQ(+info.version, kVersion);
  EXPECT_EQ(+info.reserved, 0);
}

// The identifier goes into the stream header, where the player chooses its
// decoder by it: no two libraries may report the same one.
TEST(CodecContractTable, EveryLibraryReportsAnIdentifierOfItsOwn) {
  std::vector<uint16_t> seen;
  for (const CodecContract& codec : kCodecs) {
    Module module = Module::load(codec.library);
    ASSERT_TRUE(module.loaded()) << module.error();
    auto getInfoEx = reinterpret_cast<ZvGetCodecInfoExFn>(module.ordinal(ZV_ORD_GET_CODEC_INFO_EX));
    ASSERT_NE(getInfoEx, nullptr);
    CodecInfoEx info{};
    getInfoEx(&info, ZV_CODEC_INFO_EX_SIZE);
    for (uint16_t other : seen) EXPECT_NE(+info.codecId, other) << codec.prefix;
    seen.push_back(info.codecId);
  }
  EXPECT_EQ(seen.size(), std::size(kCodecs));
}

INSTANTIATE_TEST_SUITE_P(Codecs, CodecContractTest, testing::ValuesIn(kCodecs),
                         [](const testing::TestParamInfo<CodecContract>& info) {
                           std::string name = info.param.prefix;
                           name.pop_back();  // the trailing '_'
                           return name;
                         });

}  // namespace
}  // namespace zv::codec_test
