#include "cli/play_command.h"

#include <cstdio>

#include "cli/exit_status.h"
#include "cli/interrupt_watch.h"
#include "cli/terminal_output.h"

namespace zv::cli {

std::string playStatusText(const std::string& clip, std::size_t number, std::size_t count,
                           const PlayPosition& position) {
  std::string text = "Playing ";
  if (count > 1) text += std::to_string(number) + " of " + std::to_string(count) + ": ";
  text += clip + "  " + formatPlayTime(position.elapsedSeconds);
  if (position.totalSeconds > 0) text += " / " + formatPlayTime(position.totalSeconds);
  return text;
}

int playClips(const std::vector<std::string>& clips, SoundOutput& output, const PlayListSettings& settings) {
  bool allPlayed = true;
  for (std::size_t i = 0; i < clips.size(); ++i) {
    const std::string& clip = clips[i];
    ClipPlayback playback;
    playback.codecIndex = settings.codecIndex;
    playback.stopRequested = settings.stopRequested;
    if (settings.status)
      playback.onPosition = [&](const PlayPosition& position) {
        settings.status(playStatusText(clip, i + 1, clips.size(), position));
      };
    const ClipOutcome outcome = playClip(clip, output, playback);
    if (outcome.end == ClipEnd::Played) continue;
    if (outcome.end == ClipEnd::Stopped) return kExitInterrupted;
    settings.say("zvsa: " + clip + ": " + outcome.problem);
    if (outcome.end == ClipEnd::OutputFailed) return kExitFailure;
    allPlayed = false;
  }
  if (settings.stopRequested && settings.stopRequested()) return kExitInterrupted;
  // The last clip's end is still in the server's buffer: wait until it is
  // heard, or the program would cut it off by closing the stream.
  if (const std::string error = output.drain(); !error.empty()) {
    settings.say("zvsa: the sound server did not play the end: " + error);
    return kExitFailure;
  }
  return allPlayed ? kExitSuccess : kExitFailure;
}

int runPlayCommand(const Options& options) {
  startInterruptWatch();
  std::string error;
  const std::unique_ptr<SoundOutput> output = openDefaultSoundOutput("zvsa play", error);
  if (!output) {
    std::fprintf(stderr, "zvsa play: cannot reach the sound server: %s\n", error.c_str());
    return kExitFailure;
  }
  TerminalOutput terminal(!options.quiet);
  PlayListSettings settings;
  settings.codecIndex = options.codecIndex;
  settings.stopRequested = [] { return interrupted(); };
  settings.say = [&terminal](const std::string& line) { terminal.line(line); };
  settings.status = [&terminal](const std::string& text) { terminal.status(text); };
  return playClips(options.inputs, *output, settings);
}

}  // namespace zv::cli
