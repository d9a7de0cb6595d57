// What a visitor sees of a player: one, two or three buttons in the box of
// the element it replaces (or nothing, for an invisible player), with the
// position bar along the bottom where the box has room for it and the
// elapsed and total time beside the buttons where it is wide enough; drawn
// from the player's state and position alone.
import { POSITION_BAR_PIXELS, PositionBar } from './zvplayer_position_bar.js';

const MIN_BUTTON_PIXELS = 24; // a touch target
const TIME_TEXT_PIXELS = 72;
const ICONS = {
  play: '<path d="M4 2.5v11l9-5.5z"/>',
  pause: '<path d="M3.5 2.5h3v11h-3zM9.5 2.5h3v11h-3z"/>',
  stop: '<path d="M3 3h10v10H3z"/>',
};

// What the live region says when a state is entered (announced once,
// politely); the states not listed say nothing.
const ANNOUNCEMENTS = {
  loading: 'Loading', held: 'Waiting for the page to be allowed to play sound', playing: 'Playing',
  buffering: 'Buffering', paused: 'Paused', stopped: 'Stopped',
};

// States in which the one-button layout offers Stop.
const SOUNDING = new Set(['loading', 'playing', 'buffering']);

function iconMarkup(name) {
  return `<svg viewBox="0 0 16 16" width="16" height="16" aria-hidden="true" focusable="false" ` +
    `style="max-width:100%;max-height:100%;fill:currentColor">${ICONS[name]}</svg>`;
}

// The ALIGN attribute as images have it.
function applyAlign(style, align) {
  if (align === 'left' || align === 'right') {
    style.cssFloat = align;
    return;
  }
  const vertical = { top: 'top', texttop: 'text-top', middle: 'middle', absmiddle: 'middle',
    bottom: 'baseline', baseline: 'baseline', absbottom: 'bottom' }[align];
  if (vertical) style.verticalAlign = vertical;
}

export class PlayerView {
  // `settings`: the element's settings; `press(name)`: called with "play",
  // "pause" or "stop" when a button is pressed; `seek(seconds)`: when the
  // visitor moves the position.
  constructor(settings, press, seek) {
    this.settings = settings;
    this.buttons = {};
    this.root = document.createElement('span');
    this.root.className = 'zv-stream-player';
    this.root.dataset.clip = settings.clip;
    if (!settings.visible) {
      this.root.hidden = true;
      return;
    }
    this.root.setAttribute('role', 'group');
    this.root.setAttribute('aria-label', `Sound clip ${settings.clip}`);
    Object.assign(this.root.style, { display: 'inline-flex', flexDirection: 'column', boxSizing: 'border-box',
      width: `${settings.width}px`, height: `${settings.height}px`, gap: '2px', verticalAlign: 'middle',
      position: 'relative',
      // Light or dark as the visitor prefers; the buttons' own look, their
      // focus rings and system colours carry over to high contrast modes.
      // Nothing moves, so there is nothing to calm for reduced motion.
      colorScheme: 'light dark' });
    applyAlign(this.root.style, settings.align);
    const names = settings.buttons === 1 ? ['play'] : settings.buttons === 2 ? ['play', 'stop'] : ['play', 'pause', 'stop'];
    const row = document.createElement('span');
    Object.assign(row.style, { display: 'flex', flex: '1 1 auto', minHeight: '0', gap: '2px', alignItems: 'stretch' });
    this.root.append(row);
    for (const name of names) {
      const button = document.createElement('button');
      button.type = 'button';
      button.className = `zv-stream-player-${name}`;
      Object.assign(button.style, { flex: '1 1 0', minWidth: '0', height: '100%', padding: '0',
        display: 'inline-flex', alignItems: 'center', justifyContent: 'center', cursor: 'pointer' });
      button.addEventListener('click', () => press(name));
      row.append(button);
      this.buttons[name] = button;
    }
    if (settings.width >= names.length * MIN_BUTTON_PIXELS + TIME_TEXT_PIXELS) {
      // The slider says the same to assistive technology.
      this.time = document.createElement('span');
      this.time.className = 'zv-stream-player-time';
      this.time.setAttribute('aria-hidden', 'true');
      Object.assign(this.time.style, { flex: `0 0 ${TIME_TEXT_PIXELS - 4}px`, alignSelf: 'center', textAlign: 'center',
        font: '11px/1 system-ui, sans-serif', whiteSpace: 'nowrap', overflow: 'hidden' });
      row.append(this.time);
    }
    if (settings.height >= MIN_BUTTON_PIXELS / 2 + POSITION_BAR_PIXELS) {
      this.bar = new PositionBar(seek);
      this.root.append(this.bar.element);
    }
    // Said once by a screen reader when the state changes.
    this.status = document.createElement('span');
    this.status.className = 'zv-stream-player-status';
    this.status.setAttribute('role', 'status');
    this.status.setAttribute('aria-live', 'polite');
    Object.assign(this.status.style, { position: 'absolute', width: '1px', height: '1px', overflow: 'hidden',
      clipPath: 'inset(50%)', whiteSpace: 'nowrap' });
    this.root.append(this.status);
  }

  // Draws where the clip is: `position` of `duration` seconds.
  renderPosition(position, duration, playing) {
    if (this.bar) this.bar.render(position, duration, playing);
    if (this.time) {
      const text = duration > 0 ? `${position.toFixed(1)} / ${duration.toFixed(1)}` : '';
      if (this.time.textContent !== text) this.time.textContent = text;
    }
  }

  // The one-button layout's button acts as Stop while it sounds.
  buttonActsAsStop(state) {
    return this.settings.buttons === 1 && SOUNDING.has(state);
  }

  render(state) {
    this.root.dataset.state = state;
    if (!this.settings.visible) return;
    const waiting = state === 'loading' || state === 'buffering';
    this.root.setAttribute('aria-busy', String(waiting));
    // Seen as well as said: a waiting player is drawn faded.
    this.root.style.opacity = waiting ? '0.6' : '';
    const announcement = ANNOUNCEMENTS[state] || '';
    if (this.status.textContent !== announcement) this.status.textContent = announcement;
    const { play, pause, stop } = this.buttons;
    if (this.settings.buttons === 1) {
      if (this.buttonActsAsStop(state)) this.label(play, 'stop', 'Stop');
      else this.label(play, 'play', 'Play');
      return;
    }
    this.label(play, 'play', 'Play');
    if (pause) this.label(pause, 'pause', 'Pause');
    this.label(stop, 'stop', 'Stop');
    play.setAttribute('aria-pressed', String(SOUNDING.has(state) || state === 'held'));
    if (pause) pause.setAttribute('aria-pressed', String(state === 'paused'));
  }

  label(button, icon, text) {
    if (button.getAttribute('aria-label') === text) return;
    button.setAttribute('aria-label', text);
    button.title = text;
    button.innerHTML = iconMarkup(icon);
  }

  // The element's body text, as a browser without the player would show
  // it, in place of the buttons.
  showFallback(element) {
    const fallback = document.createElement('span');
    fallback.className = 'zv-stream-player-fallback';
    fallback.dataset.state = 'failed';
    for (const node of element.childNodes) {
      if (node.nodeType === Node.ELEMENT_NODE && node.localName === 'param') continue;
      fallback.append(node.cloneNode(true));
    }
    this.root.replaceWith(fallback);
    this.root = fallback;
  }
}
