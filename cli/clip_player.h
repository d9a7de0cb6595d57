// The loop of `zvsa play`: one stream file decoded frame by frame, with the
// codec path of the decode job (stream_frame_decoder.h), each frame's
// samples handed to a SoundOutput in order. The output paces the loop; the
// loop reports where the listener is after every frame and looks at the
// stop request between frames, so a stop comes within a frame and leaves
// the rest of the clip undecoded.
#ifndef ZV_CLI_CLIP_PLAYER_H
#define ZV_CLI_CLIP_PLAYER_H

#include <functional>
#include <optional>
#include <string>

#include "cli/sound_output.h"

namespace zv::cli {

struct PlayPosition {
  double elapsedSeconds = 0;  // heard so far (handed in, less what is still queued)
  double totalSeconds = 0;    // the header's length; 0 when it gives no sample rate
};

enum class ClipEnd {
  Played,   // every frame was handed to the output
  Stopped,  // the stop request came first
  Failed,   // this clip only (see ClipOutcome::problem); what was handed in stays
  OutputFailed,  // the output refused the sound: no other clip will play either
};

struct ClipOutcome {
  ClipEnd end = ClipEnd::Failed;
  std::string problem;  // with Failed: why, as a sentence fragment for "zvsa: CLIP: ..."
};

struct ClipPlayback {
  std::optional<int> codecIndex;          // --codec; else the header's codec identifier decides
  std::function<bool()> stopRequested;    // polled between frames
  std::function<void(const PlayPosition&)> onPosition;  // may be empty
};

// Plays the stream file at `path` to `output`. Does not drain the output:
// the next clip follows without a gap.
ClipOutcome playClip(const std::string& path, SoundOutput& output, const ClipPlayback& playback);

// A play time as "M:SS.T" (tenths), or "H:MM:SS.T" from an hour on.
std::string formatPlayTime(double seconds);

}  // namespace zv::cli

#endif  // ZV_CLI_CLIP_PLAYER_H
