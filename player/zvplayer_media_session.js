// The lock screen, the notification area and the media keys: the Media
// Session of the browser, where it has one, follows the player that last
// began to play (title: the page's title and the clip's name; play,
// pause, stop and seek actions; its position).
const SKIP_SECONDS = 5;

let current = null;

function session() {
  return typeof navigator !== 'undefined' && navigator.mediaSession ? navigator.mediaSession : null;
}

function clipName(player) {
  const clip = player.settings.clip;
  return decodeURIComponent(clip.slice(clip.lastIndexOf('/') + 1));
}

function setHandler(mediaSession, action, handler) {
  try {
    mediaSession.setActionHandler(action, handler);
  } catch (error) {
    // An action this browser does not know.
  }
}

// Tells the session where `player` is, when it is the current one.
export function updatePosition(player) {
  const mediaSession = session();
  if (!mediaSession || player !== current || !mediaSession.setPositionState) return;
  const duration = player.duration;
  if (!(duration > 0)) return;
  try {
    mediaSession.setPositionState({ duration, playbackRate: 1, position: Math.min(duration, player.currentTime) });
  } catch (error) {
    // A position the browser does not take (a clip still arriving).
  }
}

// `player` began to play: the session shows it and its actions act on it.
export function showInMediaSession(player) {
  const mediaSession = session();
  if (!mediaSession) return;
  current = player;
  if (typeof MediaMetadata === 'function') {
    const title = document.title ? `${document.title}: ${clipName(player)}` : clipName(player);
    mediaSession.metadata = new MediaMetadata({ title, album: document.title || '' });
  }
  setHandler(mediaSession, 'play', () => current && current.play());
  setHandler(mediaSession, 'pause', () => current && current.pause());
  setHandler(mediaSession, 'stop', () => current && current.stop());
  setHandler(mediaSession, 'seekto', (details) => current && current.seek && current.seek(details.seekTime));
  setHandler(mediaSession, 'seekbackward', (details) =>
    current && current.seek && current.seek(current.currentTime - (details.seekOffset || SKIP_SECONDS)));
  setHandler(mediaSession, 'seekforward', (details) =>
    current && current.seek && current.seek(current.currentTime + (details.seekOffset || SKIP_SECONDS)));
  updateState(player);
}

// The session's playback state follows the current player.
export function updateState(player) {
  const mediaSession = session();
  if (!mediaSession || player !== current) return;
  const sounding = ['loading', 'held', 'playing', 'buffering'].includes(player.state);
  mediaSession.playbackState = sounding ? 'playing' : player.state === 'paused' ? 'paused' : 'none';
  updatePosition(player);
}
