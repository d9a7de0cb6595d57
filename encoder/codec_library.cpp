#include "encoder/codec_library.h"

namespace zv {

namespace {

// Entry points are stored in the ordinal table as a generic function pointer
// and cast back to the signature their ordinal defines.
template <typename Fn>
Fn entryAs(ZvEntryPoint entry) {
  return reinterpret_cast<Fn>(entry);
}

}  // namespace

CodecLibrary::~CodecLibrary() { unload(); }

bool CodecLibrary::load(const CodecTableEntry& row) {
  module_ = Module::load(row.libraryFile ? row.libraryFile : "");
  if (!module_.loaded()) {
    load_error_ = module_.error();
    return false;
  }
  load_error_.clear();
  return true;
}

CodecBindResult CodecLibrary::bind(CodecRole role) {
  role_ = role;
  const unsigned first = role == CodecRole::Encoder ? ZV_ORD_OPEN_CODER : ZV_ORD_OPEN_DECODER;

  ZvEntryPoint infoEx = module_.ordinal(ZV_ORD_GET_CODEC_INFO_EX);
  if (!infoEx) return CodecBindResult::EntryPointMissing;
  ZvEntryPoint entries[3] = {};
  for (unsigned i = 0; i < 3; ++i) {
    entries[i] = module_.ordinal(first + i);
    if (!entries[i]) return CodecBindResult::EntryPointMissing;
  }
  get_info_ex_ = entryAs<ZvGetCodecInfoExFn>(infoEx);
  open_ = entryAs<ZvOpenFn>(entries[0]);
  if (role == CodecRole::Encoder)
    encode_ = entryAs<ZvEncodeFn>(entries[1]);
  else
    decode_ = entryAs<ZvDecodeFn>(entries[1]);
  close_ = entryAs<ZvCloseFn>(entries[2]);

  info_ = CodecInfoEx{};
  get_info_ex_(&info_, ZV_CODEC_INFO_EX_SIZE);
  if (info_.pcmBytesPerFrame == 0 || info_.maxCodedBytes == 0)
    return CodecBindResult::InfoUnusable;
  return CodecBindResult::Bound;
}

bool CodecLibrary::open() {
  if (!open_) return false;
  instance_ = open_(1u);
  return instance_ != nullptr;
}

std::int32_t CodecLibrary::encode(const void* pcm, std::uint16_t* pcmBytes, void* coded,
                                  std::uint16_t* codedBytes) {
  return encode_(instance_, pcm, pcmBytes, coded, codedBytes);
}

std::int32_t CodecLibrary::decode(const void* coded, std::uint16_t* codedBytes, void* pcm,
                                  std::uint16_t* pcmBytes) {
  return decode_(instance_, coded, codedBytes, pcm, pcmBytes);
}

void CodecLibrary::close() {
  if (instance_ && close_) close_(instance_);
  instance_ = nullptr;
}

void CodecLibrary::unload() {
  close();
  get_info_ex_ = nullptr;
  open_ = nullptr;
  encode_ = nullptr;
  decode_ = nullptr;
  close_ = nullptr;
  module_.unload();
}

}  // namespace zv
