// zvsa play: stream files played one after another on the default speaker,
// with the elapsed and total time of the clip on a line of its own that is
// rewritten in place while stderr is a terminal (and not written at all
// otherwise, or with -q). Ctrl-C stops the sound at once: nothing queued is
// drained, and the command exits with 130.
#ifndef ZV_CLI_PLAY_COMMAND_H
#define ZV_CLI_PLAY_COMMAND_H

#include <functional>
#include <string>

#include "cli/cli_options.h"
#include "cli/clip_player.h"
#include "cli/sound_output.h"

namespace zv::cli {

struct PlayListSettings {
  std::optional<int> codecIndex;        // --codec
  std::function<bool()> stopRequested;  // polled between frames
  std::function<void(const std::string&)> say;     // a message line ("zvsa: CLIP: why")
  std::function<void(const std::string&)> status;  // the time line, rewritten in place
};

// Plays `clips` in order to `output`: a clip that cannot be played is
// reported and the next one played; an output that refuses sound ends the
// list. Drains the output after the last clip, unless stopped. Returns the
// exit status: success when every clip played to its end, kExitFailure when
// any did not, kExitInterrupted after a stop.
int playClips(const std::vector<std::string>& clips, SoundOutput& output, const PlayListSettings& settings);

// The time line of clip `number` of `count`: "Playing 1 of 2: a.zvsa  0:01.5 / 0:03.0".
std::string playStatusText(const std::string& clip, std::size_t number, std::size_t count,
                           const PlayPosition& position);

// The command: the default speaker, the clips of the command line, the
// terminal and Ctrl-C.
int runPlayCommand(const Options& options);

}  // namespace zv::cli

#endif  // ZV_CLI_PLAY_COMMAND_H
