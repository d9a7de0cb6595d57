// One player: the element it replaces, its view, its clip stream and its
// scheduler, moved between states by the table in zvplayer_states.js.
// Every change of state goes through `send`; what each state needs done
// (hand sound over, halt it, let the page's audio rest) is done on entry.
//
// The player's element in the page (`player.root`) hears, like a media
// element, the events "play" (it wants to sound: after Play, Autoplay or
// the end of a pause), "pause", "stop", "ended" and "error"; they do not
// bubble. `player.pressed` is set when the visitor (or the page's script,
// through `play()`) asked for sound, as against Autoplay.
import { audioRunning, existingAudioContext, pageAudioContext, releaseAudio, wantAudio, watchAudio } from './zvplayer_audio.js';
import { ClipStream } from './zvplayer_clip_stream.js';
import { Scheduler } from './zvplayer_scheduler.js';
import { nextState, wantsAudio } from './zvplayer_states.js';
import { ClipError } from './zvplayer_stream_format.js';
import { PlayerView } from './zvplayer_view.js';

const LOG_PREFIX = 'ZvStreamPlayer:';

export class Player {
  // `element`: the APPLET or OBJECT (kept aside for its body text), or a
  // <zv-stream-player> element (`inside`: the player is drawn in its shadow
  // root, and its own content is the fallback); `settings`: what it
  // carries; `openCodec(codec)`: the page's decoders.
  constructor(element, settings, openCodec, { inside = false } = {}) {
    this.element = element;
    this.inside = inside;
    this.settings = settings;
    this.openCodec = openCodec;
    this.state = 'idle';
    this.clip = null; // the ClipStream, made when it is first needed
    this.scheduler = null;
    this.output = null; // this player's node before the context's destination
    this.view = new PlayerView(settings, (name) => this.press(name), (seconds) => this.seek(seconds));
    this.drawing = false; // the position is drawn at every frame while the clip sounds
    if (inside) (element.shadowRoot || element.attachShadow({ mode: 'open' })).replaceChildren(this.view.root);
    else element.replaceWith(this.view.root);
    this.view.render(this.state);
    watchAudio(() => this.send(audioRunning() ? 'allow' : 'hold'));
  }

  // The page's AudioContext, once a player has made it.
  get context() {
    return existingAudioContext();
  }

  // The player's element in the page, which hears its events.
  get root() {
    return this.inside ? this.element : this.view.root;
  }

  // The clip's length in seconds, as its header says (0 until it is known).
  get duration() {
    return this.clip && this.clip.expectedSamples ? this.clip.expectedSamples / this.clip.sampleRate : 0;
  }

  // Where the sound is in the current pass, in seconds.
  get currentTime() {
    if (!this.scheduler || !this.clip) return 0;
    return this.scheduler.playingPosition().sample / this.clip.sampleRate;
  }

  pause() {
    this.send('pause');
  }

  // Moves to `seconds` into the clip (the current pass), within the
  // clip's length; a part that has not arrived is waited for.
  seek(seconds) {
    if (!this.scheduler || !this.clip || this.state === 'failed') return;
    const total = this.clip.expectedSamples || this.clip.length;
    const sample = Math.min(Math.max(0, Math.round(seconds * this.clip.sampleRate)), Math.max(0, total - 1));
    this.scheduler.seek(sample);
    if (this.state === 'buffering' && this.scheduler.pieces.length > 0) this.send('data');
    this.view.render(this.state);
    this.drawPosition();
    this.announce('seeked');
  }

  stop() {
    this.send('stop');
  }

  // A press of one of the player's buttons (or the visitor's equivalent).
  press(name) {
    if (name === 'play' && this.view.buttonActsAsStop(this.state)) name = 'stop';
    if (name === 'play') this.play();
    else if (name === 'pause') this.pause();
    else this.stop();
  }

  // Play, as the visitor's press (or the page's script) asks for it.
  play() {
    this.pressed = true;
    this.start();
  }

  // Autoplay: the same, but not asked for by anyone on the page.
  autoplay() {
    this.pressed = false;
    this.start();
  }

  start() {
    if (this.state === 'failed') return;
    const why = this.cannotPlay();
    if (why) {
      this.fail(new ClipError(why));
      return;
    }
    if (!this.clip || (this.clip.error && this.state !== 'paused')) this.openClip();
    wantAudio(this);
    this.clip.start();
    this.send('play');
  }

  cannotPlay() {
    if (typeof WebAssembly !== 'object') return 'this browser has no WebAssembly';
    if (!(window.AudioContext || window.webkitAudioContext)) return 'this browser has no Web Audio';
    if (!this.settings.clip) return 'the element names no clip (its Clip parameter is missing)';
    return null;
  }

  // A fresh download (the first one, or again after one that failed).
  openClip() {
    if (this.scheduler) this.scheduler.stop();
    this.clip = new ClipStream(new URL(this.settings.clip, document.baseURI).href, this.openCodec);
    this.clip.subscribe(() => this.clipChanged(this.clip));
    const context = pageAudioContext();
    if (!this.output) {
      this.output = context.createGain();
      this.output.connect(context.destination);
    }
    const count = this.settings.count;
    this.scheduler = new Scheduler(context, this.output, this.clip, count < 0 ? Infinity : Math.max(1, count), {
      starved: () => this.send('starve'),
      ended: () => this.ended(),
    });
  }

  clipChanged(clip) {
    if (clip !== this.clip) return;
    if (clip.error && clip.length === 0) {
      this.fail(clip.error);
      return;
    }
    if (this.scheduler.running) this.scheduler.fill();
    this.send('data');
  }

  ended() {
    if (this.clip.error) {
      console.error(LOG_PREFIX, `${this.settings.clip}: played what arrived; the rest cannot be played: ` +
        `${this.clip.error.message}`);
    }
    this.send('end');
    this.announce('ended');
  }

  // Draws the position now, and at every frame while the clip sounds; no
  // frame is asked for otherwise.
  drawPosition() {
    const sounding = this.state === 'playing' || this.state === 'buffering';
    this.view.renderPosition(this.currentTime, this.duration, sounding);
    if (!sounding || this.drawing || typeof requestAnimationFrame !== 'function') return;
    this.drawing = true;
    requestAnimationFrame(() => {
      this.drawing = false;
      this.drawPosition();
    });
  }

  announce(type) {
    this.root.dispatchEvent(new Event(type));
  }

  facts() {
    return {
      allowed: audioRunning(),
      hasData: Boolean(this.scheduler && this.scheduler.hasData()),
      anyData: Boolean(this.clip && this.clip.length > 0),
    };
  }

  send(event) {
    const before = this.state;
    const after = nextState(before, event, this.facts());
    if (after === before) return;
    this.state = after;
    this.enter(after, before);
    this.view.render(after);
    this.drawPosition();
    if (wantsAudio(after) && !wantsAudio(before)) this.announce('play');
    else if (after === 'paused') this.announce('pause');
    else if (after === 'stopped' && event === 'stop') this.announce('stop');
  }

  enter(state, before) {
    if (wantsAudio(state)) wantAudio(this);
    switch (state) {
      case 'playing':
        this.scheduler.run();
        break;
      case 'paused':
        this.scheduler.halt().then(() => {
          this.rest();
          this.drawPosition();
        });
        break;
      case 'stopped':
        this.scheduler.stop();
        // A download that failed half way is tried again on the next Play.
        if (this.clip.error) this.clip = null;
        this.rest();
        break;
      case 'held':
        // Sound already handed over waits with the context.
        if (before === 'playing' || before === 'buffering') this.scheduler.running = false;
        break;
      default:
        break;
    }
  }

  // Lets the page's audio rest when this player no longer needs it.
  rest() {
    if (!wantsAudio(this.state)) releaseAudio(this);
  }

  fail(error) {
    if (this.state === 'failed') return;
    console.error(LOG_PREFIX, `cannot play ${this.settings.clip || 'the clip'}: ${error.message}`);
    if (this.scheduler) this.scheduler.stop();
    this.state = 'failed';
    releaseAudio(this);
    this.view.render('failed');
    if (this.inside) {
      // The element's own content, in place of the player.
      this.element.shadowRoot.replaceChildren(document.createElement('slot'));
      this.element.dispatchEvent(new Event('error'));
      return;
    }
    const root = this.view.root;
    this.view.showFallback(this.element);
    // Said on the element that was in the page until now, and on the
    // fallback that takes its place.
    root.dispatchEvent(new Event('error'));
    if (this.view.root !== root) this.view.root.dispatchEvent(new Event('error'));
  }
}
