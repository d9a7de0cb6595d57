// One player: the element it replaces, its view, its clip stream and its
// scheduler, moved between states by the table in zvplayer_states.js.
// Every change of state goes through `send`; what each state needs done
// (hand sound over, halt it, let the page's audio rest) is done on entry.
import { audioRunning, existingAudioContext, pageAudioContext, releaseAudio, wantAudio, watchAudio } from './zvplayer_audio.js';
import { ClipStream } from './zvplayer_clip_stream.js';
import { Scheduler } from './zvplayer_scheduler.js';
import { nextState, wantsAudio } from './zvplayer_states.js';
import { ClipError } from './zvplayer_stream_format.js';
import { PlayerView } from './zvplayer_view.js';

const LOG_PREFIX = 'ZvStreamPlayer:';

export class Player {
  // `element`: the APPLET or OBJECT (kept aside for its body text);
  // `settings`: what it carries; `openCodec(codec)`: the page's decoders.
  constructor(element, settings, openCodec) {
    this.element = element;
    this.settings = settings;
    this.openCodec = openCodec;
    this.state = 'idle';
    this.clip = null; // the ClipStream, made when it is first needed
    this.scheduler = null;
    this.output = null; // this player's node before the context's destination
    this.view = new PlayerView(settings, (name) => this.press(name));
    element.replaceWith(this.view.root);
    this.view.render(this.state);
    watchAudio(() => this.send(audioRunning() ? 'allow' : 'hold'));
  }

  // The page's AudioContext, once a player has made it.
  get context() {
    return existingAudioContext();
  }

  // A press of one of the player's buttons (or the visitor's equivalent).
  press(name) {
    if (name === 'play' && this.view.buttonActsAsStop(this.state)) name = 'stop';
    if (name === 'play') this.play();
    else if (name === 'pause') this.send('pause');
    else this.send('stop');
  }

  play() {
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
  }

  enter(state, before) {
    if (wantsAudio(state)) wantAudio(this);
    switch (state) {
      case 'playing':
        this.scheduler.run();
        break;
      case 'paused':
        this.scheduler.halt().then(() => this.rest());
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
    this.view.showFallback(this.element);
  }
}
