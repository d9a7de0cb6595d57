// Which elements are players, and the settings an element carries: the
// PARAMs Clip, Visible, Buttons, Autoplay and Count, and the element's
// WIDTH, HEIGHT and ALIGN. One PARAM of the web player's own, which the
// system's markup does not write: Exclusive (default yes) says that Play
// on this player pauses the other exclusive players of the page; "no"
// lets it play beside them.
const CLASS_FILE = 'ZvStreamPlayer.class';

// Whether an element is one of the player's: an APPLET whose CODE names
// the class, or an OBJECT whose CLASSID is java: and the class.
export function namesPlayer(element) {
  const tag = element.localName;
  const isClass = (name) => name === CLASS_FILE || name === 'ZvStreamPlayer';
  if (tag === 'applet') return isClass((element.getAttribute('code') || '').trim());
  if (tag === 'object') {
    const classId = (element.getAttribute('classid') || '').trim();
    return /^java:/i.test(classId) && isClass(classId.slice(5));
  }
  return false;
}

function readParams(element) {
  const params = new Map();
  for (const param of element.querySelectorAll('param')) {
    if (param.closest('applet, object') !== element) continue;
    const name = (param.getAttribute('name') || '').trim().toLowerCase();
    if (name && !params.has(name)) params.set(name, param.getAttribute('value') || '');
  }
  return params;
}

function yes(value, fallback) {
  if (value === undefined) return fallback;
  return /^(yes|true|1|on)$/i.test(value.trim());
}

function integer(value, fallback) {
  const n = Number.parseInt(value === undefined ? '' : value, 10);
  return Number.isFinite(n) ? n : fallback;
}

export function readSettings(element) {
  const params = readParams(element);
  const buttons = integer(params.get('buttons'), 2);
  return {
    clip: (params.get('clip') || '').trim(),
    visible: yes(params.get('visible'), true),
    buttons: Math.min(3, Math.max(1, buttons)),
    autoplay: yes(params.get('autoplay'), false),
    // -1 (any negative count) plays continuously; 0 still plays once.
    count: integer(params.get('count'), 1),
    exclusive: yes(params.get('exclusive'), true),
    width: Math.max(0, integer(element.getAttribute('width'), 0)),
    height: Math.max(0, integer(element.getAttribute('height'), 0)),
    align: (element.getAttribute('align') || '').trim().toLowerCase(),
  };
}
