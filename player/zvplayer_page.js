// Takes over the page: puts a player in place of every player element, and
// offers the players to the page's own scripts as window.ZvStreamPlayer.
// Nothing is fetched until a player needs its clip (Play, or Autoplay).
import { instantiateCodec } from './zvplayer_decoder.js';
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

// Every player element of the page, in document order. An element inside
// another one (an OBJECT as the body of an APPLET) is left to its parent.
function findPlayerElements() {
  return [...document.querySelectorAll('applet, object')].filter((element) =>
    namesPlayer(element) && !(element.parentElement && element.parentElement.closest('applet, object')));
}

const players = [];

function takeOverPage() {
  for (const element of findPlayerElements()) {
    const player = new Player(element, readSettings(element), openCodec);
    players.push(player);
    if (player.settings.autoplay) player.play();
  }
}

export function start() {
  window.ZvStreamPlayer = { players, ClipError, readStreamHeader };
  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', takeOverPage);
  else takeOverPage();
}
