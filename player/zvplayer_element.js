// <zv-stream-player>: the player for authors who write their pages by hand,
// with the settings of the applet's PARAMs as attributes:
//
//   <zv-stream-player clip="hello.zvsa" buttons="2" count="1" autoplay visible>
//     This browser cannot play the clip.
//   </zv-stream-player>
//
//   clip       the clip's URL (required)
//   buttons    1, 2 (default) or 3
//   count      how often it plays; -1 without end (default 1)
//   autoplay   plays when the page opens (as the browser allows)
//   visible    shows the buttons; without it the player is invisible, as
//              <audio> shows nothing without "controls"
//   width, height   the box in pixels (default: 32 high, 32 per button)
//   exclusive="no"  may play beside the page's other players
//
// The content is shown where the clip cannot be played. The element hears
// the player's events ("play", "pause", "stop", "ended", "error"), and its
// `player` property is the player.
const ELEMENT_NAME = 'zv-stream-player';

function integer(value, fallback) {
  const n = Number.parseInt(value === null ? '' : value, 10);
  return Number.isFinite(n) ? n : fallback;
}

export function readElementSettings(element) {
  const buttons = Math.min(3, Math.max(1, integer(element.getAttribute('buttons'), 2)));
  const height = Math.max(0, integer(element.getAttribute('height'), 32));
  return {
    clip: (element.getAttribute('clip') || '').trim(),
    visible: element.hasAttribute('visible') && !/^(no|false|0|off)$/i.test(element.getAttribute('visible').trim()),
    buttons,
    autoplay: element.hasAttribute('autoplay') && !/^(no|false|0|off)$/i.test(element.getAttribute('autoplay').trim()),
    count: integer(element.getAttribute('count'), 1),
    exclusive: !/^(no|false|0|off)$/i.test((element.getAttribute('exclusive') || '').trim()),
    width: Math.max(0, integer(element.getAttribute('width'), height * buttons)),
    height,
    align: '',
  };
}

// Defines the element; `attach(element)` makes its player when it enters
// the page.
export function defineElement(attach) {
  if (typeof customElements === 'undefined' || customElements.get(ELEMENT_NAME)) return;
  customElements.define(ELEMENT_NAME, class extends HTMLElement {
    connectedCallback() {
      this.player = attach(this);
    }
  });
}
