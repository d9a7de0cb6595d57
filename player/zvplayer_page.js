// Takes over the page: puts a player in place of every player element,
// now and whenever the page adds one later (a single-page site, a content
// system that inserts markup), and offers the players to the page's own
// scripts:
//
//   ZvStreamPlayer.players          every player, in the order they were made
//   ZvStreamPlayer.attach(element)  takes over one APPLET or OBJECT now;
//                                   returns its player (the same one again
//                                   for an element already taken over)
//   player.play(), pause(), stop(), state, duration, currentTime, root
//   events "play", "pause", "stop", "ended", "error" on player.root
//
// and the element <zv-stream-player> (zvplayer_element.js) for pages
// written by hand.
//
// Nothing is fetched until a player needs its clip (Play, or Autoplay).
// Play on an exclusive player (the default) pauses the page's other
// exclusive players that are sounding.
import { wantsAudio } from './zvplayer_states.js';
import { instantiateCodec } from './zvplayer_decoder.js';
import { defineElement, readElementSettings } from './zvplayer_element.js';
import { showInMediaSession, updateState } from './zvplayer_media_session.js';
import { Player } from './zvplayer_player.js';
import { namesPlayer, readSettings } from './zvplayer_settings.js';
import { ClipError, readStreamHeader } from './zvplayer_stream_format.js';

// The folder of the player's files, where the decoders lie.
const playerFolder = new URL('./', import.meta.url);

// One compiled module per codec for the whole page; each decoder of a
// page shares its codec's instance (the handles keep all their state).
const codecInstances = new Map();
function openCodec(codec) {
  if (!codecInstances.has(codec.file)) {
    codecInstances.set(codec.file, instantiateCodec(new URL(codec.file, playerFolder).href, codec.library));
  }
  return codecInstances.get(codec.file);
}

const players = [];
const playerOf = new WeakMap(); // element (the original or the player's) -> Player

// An element inside another player element (an OBJECT as the body of an
// APPLET) is left to its parent.
function isOuterPlayerElement(element) {
  return namesPlayer(element) && !(element.parentElement && element.parentElement.closest('applet, object'));
}

function attach(element) {
  if (playerOf.has(element)) return playerOf.get(element);
  if (!element || !element.isConnected) return null;
  const custom = element.localName === 'zv-stream-player';
  if (!custom && !isOuterPlayerElement(element)) return null;
  const player = custom
    ? new Player(element, readElementSettings(element), openCodec, { inside: true })
    : new Player(element, readSettings(element), openCodec);
  players.push(player);
  playerOf.set(element, player);
  playerOf.set(player.root, player);
  player.root.addEventListener('play', () => began(player));
  for (const type of ['pause', 'stop', 'ended']) player.root.addEventListener(type, () => updateState(player));
  if (player.settings.autoplay) player.autoplay();
  return player;
}

function began(player) {
  if (player.pressed && player.settings.exclusive) {
    for (const other of players) {
      if (other !== player && other.settings.exclusive && wantsAudio(other.state) && other.state !== 'held') other.pause();
    }
  }
  showInMediaSession(player);
}

// Every player element in or under `node`, in document order.
function playerElementsIn(node) {
  if (node.nodeType !== Node.ELEMENT_NODE) return [];
  const found = node.matches('applet, object') ? [node] : [];
  return found.concat([...node.querySelectorAll('applet, object')]).filter(isOuterPlayerElement);
}

function takeOverPage() {
  for (const element of playerElementsIn(document.documentElement)) attach(element);
  new MutationObserver((records) => {
    for (const record of records) {
      for (const node of record.addedNodes) for (const element of playerElementsIn(node)) attach(element);
    }
  }).observe(document.documentElement, { childList: true, subtree: true });
}

export function start() {
  window.ZvStreamPlayer = { players, attach, ClipError, readStreamHeader };
  defineElement(attach);
  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', takeOverPage);
  else takeOverPage();
}
