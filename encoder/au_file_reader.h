// ReadAuFile: a Sun/NeXT AU (".snd") file expanded to 16-bit PCM and written
// as a WAV file (the intermediate that then takes the WAV path).
//
// Header, big-endian 32-bit fields: magic ".snd" (offset 0), data offset
// (4), data size (8), encoding (12), sample rate (16), channels (20).
//  - source not openable: 10200 with the path;
//  - header shorter than 24 bytes, wrong magic, or a data offset inside the
//    header or past the end of the file: 10204;
//  - channels not 1: 10203;
//  - encoding not 1 (8-bit µ-law), 2 (8-bit linear), 3 (16-bit linear) or
//    27 (8-bit A-law): 10201;
//  - no memory: 10205;
//  - the WAV cannot be written: 10206 with its path.
// A data size of 0xFFFFFFFF ("unknown") or one larger than what follows the
// data offset takes the bytes present: never undefined samples. An odd
// trailing byte of 16-bit data is dropped.
// The WAV's format: PCM, 1 channel, the AU rate, rate * 2 bytes per second,
// block alignment 2, 16 bits, extra size 0.
#ifndef ZV_ENCODER_AU_FILE_READER_H
#define ZV_ENCODER_AU_FILE_READER_H

#include <cstdint>
#include <string>
#include <vector>

#include "encoder/guarded_text.h"

namespace zv {

// Reads `sourcePath`, writes `wavPath`. False (with `lastError` set) on any
// failure above.
bool ReadAuFile(const std::string& sourcePath, const std::string& wavPath, GuardedText& lastError);

// The 16-bit little-endian samples of `data` in AU encoding `encoding`
// (1, 2, 3 or 27); false for any other encoding.
bool expandAuSamples(std::uint32_t encoding, const std::vector<std::uint8_t>& data,
                     std::vector<std::uint8_t>& samples);

}  // namespace zv

#endif  // ZV_ENCODER_AU_FILE_READER_H
