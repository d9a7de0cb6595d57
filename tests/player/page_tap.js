// Put first into every page the browser tests serve, before the page's own
// scripts: records what really reaches each AudioContext's destination.
//
// Every node that the page connects to a destination gets a tap beside
// that connection: a ScriptProcessorNode fed by the same node, which keeps
// a copy of every block it hears. A source that is never connected, or one
// routed through a silent gain, is heard as silence. The page's console
// and uncaught errors are kept too, and a page may report to the test
// server (a fetch, which no engine counts as the visitor's gesture).
(() => {
  // Large blocks: an engine whose main thread is late may drop a block.
  const TAP_FRAMES = 16384;
  const taps = new Map(); // node -> { blocks: Float32Array each, context, since, frames }
  const connect = AudioNode.prototype.connect;
  AudioNode.prototype.connect = function (target, ...rest) {
    const result = connect.call(this, target, ...rest);
    if (target instanceof AudioDestinationNode && !this.zvTap && !taps.has(this)) {
      const processor = this.context.createScriptProcessor(TAP_FRAMES, 1, 1);
      processor.zvTap = true;
      const tap = { blocks: [], context: this.context, since: this.context.currentTime, frames: 0 };
      processor.onaudioprocess = (event) => {
        tap.blocks.push(event.inputBuffer.getChannelData(0).slice());
        tap.frames += TAP_FRAMES;
      };
      connect.call(this, processor);
      connect.call(processor, target);
      taps.set(this, tap);
    }
    return result;
  };

  // A tap hears a block only some time after it was rendered. A suspend
  // of the context waits until every tap of it has heard what was
  // rendered before the call (at most a few seconds), so that the end of
  // a clip is not lost to the tap; a resume in the meantime cancels it.
  const suspend = AudioContext.prototype.suspend;
  const resume = AudioContext.prototype.resume;
  const pendingSuspend = new Map(); // context -> token
  AudioContext.prototype.suspend = function () {
    const context = this;
    // Engines hand a processor its input up to two blocks late.
    const until = context.currentTime + (2 * TAP_FRAMES) / context.sampleRate;
    const token = {};
    pendingSuspend.set(context, token);
    const giveUpAt = Date.now() + 10000;
    return new Promise((resolve, reject) => {
      const check = () => {
        if (pendingSuspend.get(context) !== token) return resolve();
        const flushed = [...taps.values()].filter((t) => t.context === context)
          .every((t) => t.since + t.frames / context.sampleRate >= until);
        if (!flushed && Date.now() < giveUpAt) return setTimeout(check, 20);
        pendingSuspend.delete(context);
        return suspend.call(context).then(resolve, reject);
      };
      check();
    });
  };
  AudioContext.prototype.resume = function () {
    pendingSuspend.delete(this);
    return resume.call(this);
  };

  // What `node` sent to the destination, as 16-bit values (each sample the
  // player makes is one of them exactly).
  window.__zvHeard = (node) => {
    const out = [];
    const tap = taps.get(node);
    for (const block of tap ? tap.blocks : []) for (const x of block) out.push(Math.round(x * 32768));
    return out;
  };
  window.__zvTapCount = () => taps.size;

  const lines = [];
  window.__zvConsole = lines;
  for (const level of ['log', 'warn', 'error']) {
    const original = console[level].bind(console);
    console[level] = (...args) => {
      lines.push({ level, text: args.map((a) => (a instanceof Error ? a.message : String(a))).join(' ') });
      original(...args);
    };
  }
  window.addEventListener('error', (event) => lines.push({ level: 'error', text: `uncaught: ${event.message}` }));
  window.addEventListener('unhandledrejection', (event) =>
    lines.push({ level: 'error', text: `uncaught: ${event.reason && event.reason.message}` }));

  // The context's time when the visitor first touched the page.
  window.__zvFirstInteraction = null;
  const note = () => {
    if (window.__zvFirstInteraction !== null) return;
    const players = window.ZvStreamPlayer ? window.ZvStreamPlayer.players : [];
    const context = players.length > 0 ? players[0].context : null;
    window.__zvFirstInteraction = { contextTime: context ? context.currentTime : -1 };
  };
  for (const type of ['pointerdown', 'keydown']) document.addEventListener(type, note, true);

  // Every state each player's view has shown, in order (a state that
  // lasts a moment is kept too).
  const shown = new WeakMap(); // view element -> states
  window.__zvStatesShown = (element) => shown.get(element) || [];
  new MutationObserver((records) => {
    for (const record of records) {
      const element = record.target;
      if (!shown.has(element)) shown.set(element, []);
      shown.get(element).push(element.dataset.state);
    }
  }).observe(document, { subtree: true, attributes: true, attributeFilter: ['data-state'] });

  window.__zvReport = (name, value) =>
    fetch('/__zv_report', { method: 'POST', body: JSON.stringify({ name, value }) });
})();
