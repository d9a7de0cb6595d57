// The player's states and the events that move between them, in one table.
//
//   idle       nothing fetched yet
//   loading    Play pressed, no sound of the clip has arrived yet
//   held       wants to play, but the browser holds sound back until the
//              visitor interacts with the page (or the device was taken by
//              another app)
//   playing    sound is going out
//   buffering  the sound that arrived has run out before the rest came
//   paused     halted where it was, goes on from there
//   stopped    halted, goes on from the start; also where a clip ends
//   failed     cannot play (no decoder, damaged or missing clip): the
//              element's body text is shown instead
//
// An event that a state does not list changes nothing. Where the next
// state depends on what the player has at that moment, the entry is a
// function of these facts:
//   allowed   the page's audio may sound now
//   hasData   samples are there at the playing position
//   anyData   some of the clip has arrived
export const STATES = Object.freeze(['idle', 'loading', 'held', 'playing', 'buffering', 'paused', 'stopped', 'failed']);

// Where Play leads.
const start = ({ allowed, hasData, anyData }) => {
  if (!allowed) return 'held';
  if (hasData) return 'playing';
  return anyData ? 'buffering' : 'loading';
};

export const TRANSITIONS = Object.freeze({
  idle: { play: start, fail: 'failed' },
  loading: { data: start, hold: 'held', pause: 'paused', stop: 'stopped', fail: 'failed' },
  held: { allow: start, pause: 'paused', stop: 'stopped', fail: 'failed' },
  playing: { starve: 'buffering', end: 'stopped', hold: 'held', pause: 'paused', stop: 'stopped' },
  buffering: { data: start, end: 'stopped', hold: 'held', pause: 'paused', stop: 'stopped' },
  paused: { play: start, stop: 'stopped', fail: 'failed' },
  stopped: { play: start, fail: 'failed' },
  failed: {},
});

// The state after `event` in `state`, given `facts`; `state` itself when
// the event does not apply.
export function nextState(state, event, facts = {}) {
  const target = TRANSITIONS[state][event];
  if (target === undefined) return state;
  return typeof target === 'function' ? target(facts) : target;
}

// Whether a player in `state` wants the page's audio to run.
export function wantsAudio(state) {
  return state === 'loading' || state === 'held' || state === 'playing' || state === 'buffering';
}
