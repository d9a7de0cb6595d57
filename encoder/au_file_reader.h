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
//  - more samples than a WAV file's 32-bit sizes hold: 10416;
//  - a read error: 10414 with the source path and the system's reason;
//  - the WAV cannot be written: 10206 with its path and the system's reason.
// A data size of 0xFFFFFFFF ("unknown") or one larger than what follows the
// data offset takes the bytes present: never undefined samples. An odd
// trailing byte of 16-bit data is dropped. The samples are expanded and
// written block by block, so memory does not grow with the file.
// The WAV's format: PCM, 1 channel, the AU rate, rate * 2 bytes per second,
// block alignment 2, 16 bits, extra size 0.
#ifndef ZV_ENCODER_AU_FILE_READER_H
#define ZV_ENCODER_AU_FILE_READER_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "encoder/reader_failure.h"

namespace zv {

// Reads `sourcePath`, writes `wavPath`. False (with the failure reported)
// on any failure above.
bool ReadAuFile(const std::string& sourcePath, const std::string& wavPath,
                const FailureReport& report);

// Expands `count` bytes of AU encoding `encoding` (1, 2, 3 or 27) at `data`
// into 16-bit little-endian samples at `samples` (room for 2 * count bytes)
// and returns the bytes written; 0 for any other encoding. An odd trailing
// byte of 16-bit data is dropped.
std::size_t expandAuSamples(std::uint32_t encoding, const std::uint8_t* data, std::size_t count,
                            std::uint8_t* samples);

}  // namespace zv

#endif  // ZV_ENCODER_AU_FILE_READER_H
