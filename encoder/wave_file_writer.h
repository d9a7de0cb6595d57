// WriteWaveFile: a RIFF WAVE file holding, in order, an 18-byte "fmt "
// chunk (the whole format record including its extra-size field), a 4-byte
// "fact" chunk holding 0, and a "data" chunk with the samples (plus one pad
// byte when their count is odd).
#ifndef ZV_ENCODER_WAVE_FILE_WRITER_H
#define ZV_ENCODER_WAVE_FILE_WRITER_H

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include "encoder/wave_format.h"

namespace zv {

// Writes the file at `path` (created or truncated). Returns false when it
// cannot be created or written, or when the samples are too many for the
// 32-bit RIFF sizes; the file may then be incomplete.
bool WriteWaveFile(const std::string& path, const WaveFormat& format,
                   std::span<const std::uint8_t> samples);

// The part of that file before the samples, for `dataBytes` bytes of them,
// written to an open stream: the samples (and a pad byte when `dataBytes` is
// odd) are the caller's to write after it. False when writing fails or the
// sizes do not fit 32 bits.
bool writeWaveHeader(std::FILE* out, const WaveFormat& format, std::uint64_t dataBytes);

// The same file content written to an open stream (at its position).
bool writeWaveStream(std::FILE* out, const WaveFormat& format,
                     std::span<const std::uint8_t> samples);

}  // namespace zv

#endif  // ZV_ENCODER_WAVE_FILE_WRITER_H
