// The position of a player's clip, and a way to move in it: a thin bar
// along the bottom of the player's box that assistive technology knows as
// a slider ("1.2 of 5.3 seconds"), operated by click, drag, the arrow
// keys, Page Up and Page Down, Home and End. While the clip plays the
// value it reports changes once a second at most, so that a screen reader
// following it is not flooded.
const BAR_PIXELS = 6;

function seconds(value) {
  return (Math.round(value * 10) / 10).toFixed(1);
}

export class PositionBar {
  // `seek(seconds)`: called when the visitor moves the position.
  constructor(seek) {
    this.seek = seek;
    this.duration = 0;
    this.position = 0;
    this.spokenSecond = -1;
    this.element = document.createElement('span');
    this.element.className = 'zv-stream-player-position';
    this.element.setAttribute('role', 'slider');
    this.element.setAttribute('aria-label', 'Position');
    this.element.setAttribute('aria-valuemin', '0');
    this.element.tabIndex = 0;
    Object.assign(this.element.style, { display: 'block', position: 'relative', height: `${BAR_PIXELS}px`,
      flex: `0 0 ${BAR_PIXELS}px`, cursor: 'pointer', touchAction: 'none', boxSizing: 'border-box',
      border: '1px solid currentColor', borderRadius: '2px', background: 'Canvas', color: 'ButtonText' });
    this.fill = document.createElement('span');
    Object.assign(this.fill.style, { position: 'absolute', left: '0', top: '0', bottom: '0', width: '0',
      background: 'currentColor' });
    this.element.append(this.fill);
    this.element.addEventListener('keydown', (event) => this.key(event));
    this.element.addEventListener('pointerdown', (event) => this.pointer(event, true));
    this.element.addEventListener('pointermove', (event) => {
      if (this.element.hasPointerCapture && this.element.hasPointerCapture(event.pointerId)) this.pointer(event, false);
    });
    this.render(0, 0, false);
  }

  // Draws `position` of `duration` seconds; `playing` lets the reported
  // value lag to whole seconds.
  render(position, duration, playing) {
    this.position = position;
    this.duration = duration;
    const fraction = duration > 0 ? Math.min(1, position / duration) : 0;
    this.fill.style.width = `${(fraction * 100).toFixed(2)}%`;
    const second = Math.floor(position);
    if (playing && second === this.spokenSecond) return;
    this.spokenSecond = second;
    const spoken = playing ? second : position;
    this.element.setAttribute('aria-valuemax', seconds(duration));
    this.element.setAttribute('aria-valuenow', seconds(spoken));
    this.element.setAttribute('aria-valuetext', `${seconds(spoken)} of ${seconds(duration)} seconds`);
  }

  step() {
    return Math.min(5, Math.max(0.1, this.duration / 10));
  }

  key(event) {
    const moves = {
      ArrowLeft: -this.step(), ArrowDown: -this.step(), ArrowRight: this.step(), ArrowUp: this.step(),
      PageDown: -3 * this.step(), PageUp: 3 * this.step(),
    };
    let target;
    if (event.key in moves) target = this.position + moves[event.key];
    else if (event.key === 'Home') target = 0;
    else if (event.key === 'End') target = this.duration;
    else return;
    event.preventDefault();
    this.moveTo(target);
  }

  pointer(event, first) {
    const box = this.element.getBoundingClientRect();
    if (box.width <= 0) return;
    if (first && this.element.setPointerCapture) this.element.setPointerCapture(event.pointerId);
    event.preventDefault();
    this.moveTo(((event.clientX - box.left) / box.width) * this.duration);
  }

  moveTo(target) {
    if (!(this.duration > 0)) return;
    const position = Math.min(this.duration, Math.max(0, target));
    this.render(position, this.duration, false);
    this.seek(position);
  }
}

export const POSITION_BAR_PIXELS = BAR_PIXELS;
