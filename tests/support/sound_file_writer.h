// Sound files as other programs write them (FLAC, Ogg Vorbis and Opus, MP3,
// AIFF, EXTENSIBLE and float WAV), written through libsndfile for tests of
// the readers and of zvsa.
#ifndef ZV_TESTS_SUPPORT_SOUND_FILE_WRITER_H
#define ZV_TESTS_SUPPORT_SOUND_FILE_WRITER_H

#include <string>
#include <vector>

namespace zv::test {

// Writes `samples` (interleaved, `channels` of them, full scale +-1.0) at
// `rateHz` in libsndfile format `format` (SF_FORMAT_... major | subtype).
// False when the file cannot be written in that format.
bool writeSoundFile(const std::string& path, int format, int rateHz, int channels,
                    const std::vector<double>& samples);

}  // namespace zv::test

#endif  // ZV_TESTS_SUPPORT_SOUND_FILE_WRITER_H
