// openDefaultSoundOutput() of a build without PulseAudio's client library
// (the arm64 cross build, which has no libpulse for its target): every other
// command works, and play says what it lacks.
#include "cli/sound_output.h"

namespace zv::cli {

std::unique_ptr<SoundOutput> openDefaultSoundOutput(const std::string&, std::string& error) {
  error = "this zvsa was built without PulseAudio's client library (libpulse-simple)";
  return nullptr;
}

}  // namespace zv::cli
