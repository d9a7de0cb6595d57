// CodecLibrary: the codec library one job holds while it runs.
//
// Binding sequence, for the table row the job was given:
//   1. load()  - load the library named by the row's libraryFile;
//   2. bind()  - bind ordinal 8 (GetCodecInfoEx), then the job's three
//                ordinals in ascending order (encoder: 1, 2, 3; decoder:
//                4, 5, 6), stopping at the first one missing; then ask for the
//                122-byte CodecInfoEx record;
//   3. open()  - open one coder or decoder instance with flags 1;
//   4. encode()/decode() per frame;
//   5. unload() - close the instance if one was opened, then unload the
//                 library (also done by the destructor).
//
// Of the record the engine uses the codec identifier (offset 0), the PCM bytes
// per frame F (110), the largest coded frame M (112) and the version word
// (116). A record with F or M of 0 cannot be used.
//
// The object belongs to the job's worker thread; it is not shared.
#ifndef ZV_ENCODER_CODEC_LIBRARY_H
#define ZV_ENCODER_CODEC_LIBRARY_H

#include <cstdint>
#include <string>

#include <zv/codec_api.h>
#include "encoder/codec_table.h"
#include "platform/module.h"

namespace zv {

enum class CodecRole { Encoder, Decoder };

enum class CodecBindResult {
  Bound,              // entry points bound, information record usable
  EntryPointMissing,  // ordinal 8 or one of the role's ordinals is missing
  InfoUnusable,       // the record names 0 PCM bytes or 0 coded bytes per frame
};

class CodecLibrary {
 public:
  CodecLibrary() = default;
  ~CodecLibrary();
  CodecLibrary(const CodecLibrary&) = delete;
  CodecLibrary& operator=(const CodecLibrary&) = delete;

  // Loads the library of `row`. False when it cannot be loaded; loadError()
  // then holds the loader's reason.
  bool load(const CodecTableEntry& row);
  const std::string& loadError() const { return load_error_; }

  // Binds ordinal 8 and the role's three ordinals, then fills info(). Call
  // once, after a successful load().
  CodecBindResult bind(CodecRole role);

  // The record as the codec filled it (zeros where it wrote nothing).
  const CodecInfoEx& info() const { return info_; }
  std::uint16_t codecId() const { return info_.codecId; }
  std::uint16_t pcmBytesPerFrame() const { return info_.pcmBytesPerFrame; }
  std::uint16_t maxCodedBytes() const { return info_.maxCodedBytes; }
  std::uint32_t codecVersion() const { return info_.version; }

  // Opens the instance of the bound role with flags 1. False when the codec
  // returns a null handle.
  bool open();
  bool opened() const { return instance_ != nullptr; }

  // One frame through the codec, with the counts passed by address as the
  // codec interface defines them. Only after open() in the matching role.
  std::int32_t encode(const void* pcm, std::uint16_t* pcmBytes, void* coded,
                      std::uint16_t* codedBytes);
  std::int32_t decode(const void* coded, std::uint16_t* codedBytes, void* pcm,
                      std::uint16_t* pcmBytes);

  // -2 and -3 stop a job; every other result counts as success.
  static bool isFailure(std::int32_t result) {
    return result == ZV_CODEC_BAD_SIZES || result == ZV_CODEC_FAILED;
  }

  // Closes the instance if one is open (the codec's Close entry).
  void close();
  // close(), then unloads the library.
  void unload();

 private:
  Module module_;
  std::string load_error_;
  CodecRole role_ = CodecRole::Encoder;
  CodecInfoEx info_{};
  ZvGetCodecInfoExFn get_info_ex_ = nullptr;
  ZvOpenFn open_ = nullptr;
  ZvEncodeFn encode_ = nullptr;
  ZvDecodeFn decode_ = nullptr;
  ZvCloseFn close_ = nullptr;
  void* instance_ = nullptr;
};

}  // namespace zv

#endif  // ZV_ENCODER_CODEC_LIBRARY_H
