// Hands a clip's samples to Web Audio, back to back, a little ahead of the
// playback position, for one player.
//
// The position is the next sample to hand over: the pass (Count plays the
// clip more than once; continuous play has no last pass) and the sample
// in it. Sound is handed over in pieces of at most PIECE_SECONDS, up to
// AHEAD_SECONDS beyond the context's time; the end of each piece hands
// over the next, and so does every arrival of data, so no timer runs.
// When the sound that has arrived runs out before the rest, the last
// piece ends with nothing after it: the scheduler reports that it is
// starved, and goes on from the very next sample when CUSHION_SECONDS of
// it have come (or the rest of the clip, if that is less), so that a slow
// network makes a few clear pauses rather than a stutter. Pieces
// start on a sample of the context, so that none begins between two.
const AHEAD_SECONDS = 1.5;
const PIECE_SECONDS = 0.5;
const START_LEAD_SECONDS = 0.2; // from a press of Play to the first sample
const HALT_LEAD_SECONDS = 0.2; // from a press of Pause to the last sample
const CUSHION_SECONDS = 0.3; // what must have arrived before sound starts, or starts again after a stall
const LATE_SECONDS = 0.2; // audio due sooner than this may already be rendered (engines render ahead in blocks)

export class Scheduler {
  // `context`: the page's AudioContext; `output`: the node the pieces go
  // to; `stream`: the ClipStream; `passes`: how often the clip plays
  // (Infinity for continuously); `events`: { starved(), ended() }.
  constructor(context, output, stream, passes, events) {
    this.context = context;
    this.output = output;
    this.stream = stream;
    this.passes = passes;
    this.events = events;
    this.pass = 0;
    this.sample = 0; // the next sample of this pass to hand over
    this.pieces = []; // { source, when, pass, from, to }, in time order
    this.running = false;
    this.timelineStart = 0; // context time of the timeline's first sample
    this.timelineSamples = 0; // samples handed over on this timeline
  }

  // Starts handing over from the position, or goes on handing over.
  run() {
    this.running = true;
    this.fill();
  }

  // Whether there is sound to go on with: sound handed over and not yet
  // played, samples at the position, or the end of the clip.
  hasData() {
    return this.pieces.length > 0 || this.hasCushion();
  }

  // Whether enough has arrived beyond the position to start a timeline.
  hasCushion() {
    if (this.stream.ended || this.pass > 0) return true;
    return this.stream.length - this.sample >= Math.round(CUSHION_SECONDS * this.stream.sampleRate);
  }

  // Where the sound is now: { pass, sample } of the next sample to be heard.
  playingPosition() {
    const now = this.context.currentTime;
    const rate = this.stream.sampleRate;
    for (const piece of this.pieces) {
      const end = piece.when + (piece.to - piece.from) / rate;
      if (now < end) {
        return { pass: piece.pass, sample: now <= piece.when ? piece.from : piece.from + Math.floor((now - piece.when) * rate) };
      }
    }
    return { pass: this.pass, sample: this.sample };
  }

  // Halts a little after now, at a sample it can name: the position
  // becomes the first sample not heard. Resolves when the last sample
  // heard has been played, so that the context may then be suspended.
  halt() {
    this.running = false;
    const rate = this.stream.sampleRate;
    const haltAt = this.alignedTime(this.context.currentTime + HALT_LEAD_SECONDS);
    let resume = null; // the first sample not heard
    const sounding = [];
    for (const piece of this.pieces) {
      const end = piece.when + (piece.to - piece.from) / rate;
      if (piece.when >= haltAt) {
        resume ??= { pass: piece.pass, sample: piece.from };
        this.cancel(piece);
      } else if (end > haltAt) {
        const heard = Math.round((haltAt - piece.when) * rate);
        resume = { pass: piece.pass, sample: piece.from + heard };
        piece.to = piece.from + heard;
        piece.source.stop(haltAt);
        sounding.push(piece);
      } else {
        sounding.push(piece);
      }
    }
    if (resume) {
      this.pass = resume.pass;
      this.sample = resume.sample;
    }
    // A Play before the halt has come goes on seamlessly from there.
    this.timelineStart = haltAt;
    this.timelineSamples = 0;
    this.pieces = sounding;
    if (sounding.length === 0) return Promise.resolve();
    const last = sounding[sounding.length - 1];
    return new Promise((resolve) => {
      last.onEndedByHalt = resolve;
    });
  }

  // Moves the position to `sample` of the current pass: what sounds is
  // silenced, and a running scheduler goes on from there (waiting, like
  // after a stall, when that part has not arrived yet).
  seek(sample) {
    for (const piece of this.pieces) this.cancel(piece);
    this.pieces = [];
    this.sample = Math.max(0, Math.floor(sample));
    this.fill();
  }

  // Silences everything at once and goes back to the start.
  stop() {
    this.running = false;
    for (const piece of this.pieces) this.cancel(piece);
    this.pieces = [];
    this.pass = 0;
    this.sample = 0;
  }

  cancel(piece) {
    piece.source.onended = null;
    try {
      piece.source.stop();
    } catch (error) {
      // Not started yet in some engines: then it never sounds anyway.
    }
    piece.source.disconnect();
    if (piece.onEndedByHalt) piece.onEndedByHalt();
  }

  lastPass() {
    return this.stream.error ? Math.min(this.passes, this.pass + 1) : this.passes;
  }

  // Hands over what there is, up to AHEAD_SECONDS beyond now.
  fill() {
    if (!this.running) return;
    const stream = this.stream;
    const rate = stream.sampleRate;
    const pieceSamples = Math.round(PIECE_SECONDS * rate);
    for (;;) {
      if (this.pass >= this.lastPass()) break;
      if (this.sample >= stream.length) {
        if (!stream.ended) break; // the next piece comes with the data
        this.pass += 1;
        this.sample = 0;
        continue;
      }
      let when = this.timelineStart + this.timelineSamples / rate;
      if (this.pieces.length === 0 || when < this.context.currentTime + LATE_SECONDS) {
        // A new timeline: at the start, after a stall, or where the data
        // came too late to follow on without a gap (rather than overlap).
        // It waits for a cushion, so that a slow download makes clear
        // pauses (buffering) and not a stutter.
        if (!this.hasCushion()) break;
        this.newTimeline();
        when = this.timelineStart;
      }
      if (when > this.context.currentTime + AHEAD_SECONDS) break;
      const to = Math.min(stream.length, this.sample + pieceSamples);
      this.play(this.sample, to, when);
      this.timelineSamples += to - this.sample;
      this.sample = to;
    }
    if (this.pieces.length > 0) return;
    // Nothing sounds and nothing could be handed over.
    if (this.pass >= this.lastPass()) this.events.ended();
    else this.events.starved();
  }

  // A new timeline begins a little after now, on a sample of the context.
  newTimeline() {
    this.timelineStart = this.alignedTime(this.context.currentTime + START_LEAD_SECONDS);
    this.timelineSamples = 0;
  }

  alignedTime(time) {
    const rate = this.context.sampleRate;
    return Math.ceil(time * rate) / rate;
  }

  play(from, to, when) {
    const context = this.context;
    const buffer = context.createBuffer(1, to - from, this.stream.sampleRate);
    const channel = buffer.getChannelData(0);
    this.stream.copyFloat(from, to, channel);
    const source = context.createBufferSource();
    source.buffer = buffer;
    source.connect(this.output);
    const piece = { source, when, pass: this.pass, from, to, onEndedByHalt: null };
    source.onended = () => this.pieceEnded(piece);
    this.pieces.push(piece);
    source.start(when);
  }

  pieceEnded(piece) {
    const index = this.pieces.indexOf(piece);
    if (index >= 0) this.pieces.splice(index, 1);
    piece.source.disconnect();
    if (piece.onEndedByHalt) {
      piece.onEndedByHalt();
      return;
    }
    this.fill();
  }
}
