// The page's one AudioContext, shared by every player: made on the first
// Play (or Autoplay), at the clips' rate where the browser offers it (so
// the decoded samples reach the output unchanged and the browser resamples
// once, for the device), and suspended whenever no player wants sound.
//
// Browsers hold sound back until the visitor has interacted with the page;
// until then the context stays suspended, and the first interaction
// anywhere on the page resumes it. Players hear of every change of the
// context's state.
const CLIP_RATE = 8000;
const INTERACTIONS = ['pointerdown', 'keydown', 'touchend'];
const ignore = () => {};

let context = null;
const wanting = new Set(); // players that want sound now
const watchers = new Set(); // called with the context's state on every change
let awaitingInteraction = false;

export function audioSupported() {
  return typeof window !== 'undefined' && Boolean(window.AudioContext || window.webkitAudioContext);
}

// The page's context, made on first use.
export function pageAudioContext() {
  if (context) return context;
  const AudioContextClass = window.AudioContext || window.webkitAudioContext;
  // On phones, sound that plays back media, not an app's effects: the
  // silent switch of an iPhone then does not mute the clip.
  if (navigator.audioSession) {
    try {
      navigator.audioSession.type = 'playback';
    } catch (error) {
      // A type this browser does not take; its default stays.
    }
  }
  try {
    context = new AudioContextClass({ sampleRate: CLIP_RATE, latencyHint: 'playback' });
  } catch (error) {
    context = new AudioContextClass();
  }
  context.addEventListener('statechange', () => {
    if (context.state === 'running') stopAwaitingInteraction();
    else if (wanting.size > 0) startAwaitingInteraction();
    for (const watcher of [...watchers]) watcher(context.state);
  });
  return context;
}

// The context if a player has made it, or null.
export function existingAudioContext() {
  return context;
}

export function audioRunning() {
  return context !== null && context.state === 'running';
}

export function watchAudio(watcher) {
  watchers.add(watcher);
}

// `owner` wants sound: the context is resumed (the browser may hold it
// back until an interaction, which then resumes it).
export function wantAudio(owner) {
  wanting.add(owner);
  const audio = pageAudioContext();
  if (audio.state !== 'running') {
    audio.resume().catch(ignore);
    startAwaitingInteraction();
  }
}

// `owner` no longer wants sound: when no one does, the context is
// suspended, so that an idle page costs nothing.
export function releaseAudio(owner) {
  wanting.delete(owner);
  if (wanting.size > 0 || !context) return;
  stopAwaitingInteraction();
  if (context.state === 'running') context.suspend().catch(ignore);
}

function onInteraction() {
  if (context && wanting.size > 0) context.resume().catch(ignore);
}

function startAwaitingInteraction() {
  if (awaitingInteraction || typeof document === 'undefined') return;
  awaitingInteraction = true;
  for (const type of INTERACTIONS) document.addEventListener(type, onInteraction, true);
}

function stopAwaitingInteraction() {
  if (!awaitingInteraction) return;
  awaitingInteraction = false;
  for (const type of INTERACTIONS) document.removeEventListener(type, onInteraction, true);
}
