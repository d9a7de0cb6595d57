// ZvStreamPlayer.js: plays .zvsa clips in today's browsers.
//
// Pages made by Z&V Tavelworks embed their clips with markup for a Java
// applet, which no current browser runs:
//
//   <APPLET WIDTH="96" HEIGHT="32" CODE="ZvStreamPlayer.class" ...>
//       <PARAM NAME="Clip" VALUE="clip.zvsa">
//       <PARAM NAME="Visible" VALUE="yes">
//       <PARAM NAME="Buttons" VALUE="3">
//       <PARAM NAME="Autoplay" VALUE="no">
//       <PARAM NAME="Count" VALUE="1">
//   body text
//   </APPLET>
//
// (or an OBJECT element with CLASSID="java:ZvStreamPlayer.class"). This
// script, loaded by a <script> element from the folder that holds the
// player's files, puts a player in place of every such element when the
// page has loaded: one, two or three buttons of the element's size, or
// nothing visible when Visible is "no". It streams the clip with fetch,
// checks its 154-byte header, decodes it frame by frame with the codec the
// header names (the codec libraries themselves, built to WebAssembly:
// QV80W.wasm and QV160MXW.wasm beside this script) and plays the samples
// through Web Audio as they arrive. When it cannot play (no WebAssembly or
// Web Audio, a missing or damaged clip) it shows the element's body text and
// logs the reason to the console.
//
// Loaded in Node (module.exports), it offers the header check and the frame
// decoder on their own, for tests.
(function () {
  'use strict';

  // ---------------------------------------------------------------------
  // The stream file: a 154-byte header, then the codec's frames back to back.
  //
  //   offset  size  field
  //   0       128   banner: "Z&V Tavelworks Version ..." text, 0x1A, 0
  //   128     2     codecTag (the codec identifier)
  //   130     4     encoderVersion
  //   134     4     codecVersion
  //   138     4     sampleCount
  //   142     4     sampleRate
  //   146     4     dataBytes (bytes of frames after the header)
  //   150     4     checkWord over sampleCount, dataBytes and codecTag
  // All little-endian.

  const HEADER_BYTES = 154;
  const BANNER_BYTES = 128;
  const BANNER_START = 'Z&V Tavelworks Version ';
  const END_OF_TEXT = 0x1a;

  // The codecs by identifier: the WebAssembly file and the entry points'
  // prefix of each.
  const CODECS = new Map([
    [2022, { library: 'QV80W', file: 'QV80W.wasm', prefix: 'QV80_' }],
    [1, { library: 'QV160MXW', file: 'QV160MXW.wasm', prefix: 'QV160MX_' }],
  ]);

  // A reason why a clip cannot be played.
  class ClipError extends Error {}

  function reverseBits32(x) {
    let r = 0;
    for (let i = 0; i < 32; ++i) {
      r = (r << 1) | (x & 1);
      x >>>= 1;
    }
    return r >>> 0;
  }

  // The reversed dataBytes ORed with sampleCount, XORed with the inverted
  // word that holds codecTag in both halves.
  function computeCheckWord(sampleCount, dataBytes, codecTag) {
    const tagWord = ~((codecTag << 16) | codecTag) >>> 0;
    return ((reverseBits32(dataBytes) | sampleCount) ^ tagWord) >>> 0;
  }

  // Reads and checks the header at the start of `bytes` (at least
  // HEADER_BYTES long). Throws ClipError naming what is wrong.
  function readStreamHeader(bytes) {
    for (let i = 0; i < BANNER_START.length; ++i) {
      if (bytes[i] !== BANNER_START.charCodeAt(i)) {
        throw new ClipError('not a Z&V Tavelworks stream file (its banner is missing)');
      }
    }
    const endOfText = bytes.subarray(0, BANNER_BYTES).indexOf(END_OF_TEXT);
    if (endOfText < 0 || endOfText + 1 >= BANNER_BYTES || bytes[endOfText + 1] !== 0) {
      throw new ClipError('the stream header is damaged (its banner text does not end)');
    }
    const view = new DataView(bytes.buffer, bytes.byteOffset, HEADER_BYTES);
    const header = {
      banner: String.fromCharCode(...bytes.subarray(0, endOfText)),
      codecTag: view.getUint16(128, true),
      encoderVersion: view.getUint32(130, true),
      codecVersion: view.getUint32(134, true),
      sampleCount: view.getUint32(138, true),
      sampleRate: view.getUint32(142, true),
      dataBytes: view.getUint32(146, true),
      checkWord: view.getUint32(150, true),
    };
    const expected = computeCheckWord(header.sampleCount, header.dataBytes, header.codecTag);
    if (header.checkWord !== expected) {
      throw new ClipError('the stream header is damaged (its check word is wrong)');
    }
    header.codec = CODECS.get(header.codecTag);
    if (!header.codec) {
      throw new ClipError(`the clip was made with codec ${header.codecTag}, which this player does not have`);
    }
    return header;
  }

  // ---------------------------------------------------------------------
  // The decoders: the codec libraries' own entry points in WebAssembly.
  //
  //   Open_Decoder(flags) -> handle        flags 1: 16-bit PCM, 2: 8-bit PCM
  //   Decode(handle, coded, &codedBytes, pcm, &pcmBytes) -> 0, or -2/-3
  //   Close_Decoder(handle)
  //   GetCodecInfoEx(info, 122)            pcmBytesPerFrame at 110,
  //                                        maxCodedBytes at 112, rate at 100
  // Counts are 16-bit values in the module's memory. A decoder is offered
  // the next maxCodedBytes bytes (fewer at the end of the data) and reports
  // in codedBytes how many the frame took.

  const CODEC_INFO_EX_BYTES = 122;
  const CODEC_OK_FLAGS_16BIT = 1;

  class FrameDecoder {
    // `instance`: the codec's WebAssembly instance; `prefix`: "QV80_" or
    // "QV160MX_"; `flags`: the open flags (1 for 16-bit samples);
    // `pcmBytes`: the PCM bytes of a frame when they differ from the 16-bit
    // size that the information record gives (the speech codec's 8-bit mode
    // takes 160).
    constructor(instance, prefix, flags = CODEC_OK_FLAGS_16BIT, pcmBytes = 0) {
      const e = instance.exports;
      this.exports = e;
      this.memory = e.memory;
      this.decodeEntry = e[prefix + 'Decode'];
      this.closeEntry = e[prefix + 'Close_Decoder'];
      const info = e.malloc(CODEC_INFO_EX_BYTES);
      if (!info) throw new ClipError('the decoder has no memory');
      e[prefix + 'GetCodecInfoEx'](info, CODEC_INFO_EX_BYTES);
      const view = new DataView(this.memory.buffer, info, CODEC_INFO_EX_BYTES);
      this.sampleRate = view.getUint32(100, true);
      this.pcmBytesPerFrame = pcmBytes || view.getUint16(110, true);
      this.maxCodedBytes = view.getUint16(112, true);
      e.free(info);
      this.handle = e[prefix + 'Open_Decoder'](flags);
      // One block for the coded bytes, the PCM and the two counts.
      this.block = this.handle ? e.malloc(this.maxCodedBytes + this.pcmBytesPerFrame + 4) : 0;
      if (!this.handle || !this.block) {
        this.close();
        throw new ClipError('the decoder could not be opened');
      }
      this.codedAt = this.block;
      this.pcmAt = this.block + this.maxCodedBytes;
      this.countsAt = this.pcmAt + this.pcmBytesPerFrame;
    }

    // Decodes the frame at the start of `coded` (at most maxCodedBytes
    // bytes). Returns { consumed, pcm } with a copy of the PCM bytes, or null
    // when the decoder refuses the bytes (a frame cut short).
    decode(coded) {
      const memory = new Uint8Array(this.memory.buffer);
      memory.set(coded, this.codedAt);
      const counts = new DataView(this.memory.buffer, this.countsAt, 4);
      counts.setUint16(0, coded.length, true);
      counts.setUint16(2, this.pcmBytesPerFrame, true);
      const result = this.decodeEntry(this.handle, this.codedAt, this.countsAt, this.pcmAt, this.countsAt + 2);
      if (result === -2 || result === -3) return null;
      const consumed = counts.getUint16(0, true);
      const pcmBytes = counts.getUint16(2, true);
      if (consumed === 0 || consumed > coded.length || pcmBytes > this.pcmBytesPerFrame) return null;
      return { consumed, pcm: memory.slice(this.pcmAt, this.pcmAt + pcmBytes) };
    }

    close() {
      if (this.block) this.exports.free(this.block);
      if (this.handle) this.closeEntry(this.handle);
      this.block = 0;
      this.handle = 0;
    }
  }

  // Takes a stream file piece by piece, as it arrives: checks the header,
  // opens the decoder it names (`openCodec(codec)` resolves to the codec's
  // WebAssembly instance) and decodes every whole frame.
  class ClipDecoder {
    constructor(openCodec, flags = CODEC_OK_FLAGS_16BIT) {
      this.openCodec = openCodec;
      this.flags = flags;
      this.pending = new Uint8Array(0);
      this.header = null;
      this.decoder = null;
      this.frameBytes = 0; // bytes of frames received
      this.cutShort = false; // the data ended inside a frame
    }

    // Adds `chunk` (a Uint8Array); resolves to the PCM blocks (one
    // Uint8Array per frame) of the frames it completed.
    async push(chunk) {
      this.append(chunk);
      if (!this.header) {
        if (this.pending.length < HEADER_BYTES) return [];
        this.header = readStreamHeader(this.pending);
        this.pending = this.pending.slice(HEADER_BYTES);
        const instance = await this.openCodec(this.header.codec);
        this.decoder = new FrameDecoder(instance, this.header.codec.prefix, this.flags);
      }
      return this.decodeAvailable(false);
    }

    // The data has ended: decodes what is left. A frame cut short at the
    // end is dropped, as the native reader does.
    async finish() {
      if (!this.header) {
        throw new ClipError(this.pending.length === 0
          ? 'the clip is empty'
          : `the clip is too short for its header (${this.pending.length} of ${HEADER_BYTES} bytes)`);
      }
      const blocks = this.decodeAvailable(true);
      this.close();
      return blocks;
    }

    close() {
      if (this.decoder) this.decoder.close();
    }

    append(chunk) {
      if (this.header) this.frameBytes += chunk.length;
      else if (this.pending.length + chunk.length > HEADER_BYTES) {
        this.frameBytes += this.pending.length + chunk.length - HEADER_BYTES;
      }
      const joined = new Uint8Array(this.pending.length + chunk.length);
      joined.set(this.pending);
      joined.set(chunk, this.pending.length);
      this.pending = joined;
    }

    decodeAvailable(atEnd) {
      const blocks = [];
      const max = this.decoder.maxCodedBytes;
      let at = 0;
      while (at < this.pending.length) {
        const available = this.pending.length - at;
        if (!atEnd && available < max) break;
        const frame = this.decoder.decode(this.pending.subarray(at, at + Math.min(max, available)));
        if (!frame) {
          if (atEnd) {
            this.cutShort = true;
            break;
          }
          throw new ClipError(`the frame at byte ${HEADER_BYTES + this.frameBytes - available} cannot be decoded`);
        }
        blocks.push(frame.pcm);
        at += frame.consumed;
      }
      this.pending = this.pending.slice(at);
      return blocks;
    }
  }

  // 16-bit signed little-endian PCM bytes to samples in [-1, 1).
  function pcm16ToFloat(bytes, out, offset) {
    const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.length);
    for (let i = 0; i + 1 < bytes.length; i += 2) out[offset + i / 2] = view.getInt16(i, true) / 32768;
  }

  const exported = { HEADER_BYTES, CODECS, ClipError, computeCheckWord, readStreamHeader, FrameDecoder, ClipDecoder };
  if (typeof module === 'object' && module.exports) {
    module.exports = exported;
    return;
  }
  if (typeof document === 'undefined') return;

  // ---------------------------------------------------------------------
  // In the page.

  const LOG_PREFIX = 'ZvStreamPlayer:';
  const CLASS_FILE = 'ZvStreamPlayer.class';
  const scriptUrl = (document.currentScript && document.currentScript.src) || document.baseURI;

  // One compiled module per codec for the whole page; each decoder of a
  // page shares its codec's instance (the handles keep all their state).
  const codecInstances = new Map();
  function openCodec(codec) {
    if (!codecInstances.has(codec.file)) {
      const url = new URL(codec.file, scriptUrl).href;
      codecInstances.set(codec.file, instantiate(url, codec.library));
    }
    return codecInstances.get(codec.file);
  }

  async function instantiate(url, library) {
    const response = await fetch(url);
    if (!response.ok) throw new ClipError(`the ${library} decoder (${url}) cannot be loaded: HTTP ${response.status}`);
    // Streaming compilation needs the application/wasm media type; a server
    // that sends another one still gets its bytes compiled.
    if (WebAssembly.instantiateStreaming &&
        (response.headers.get('Content-Type') || '').split(';')[0].trim() === 'application/wasm') {
      return (await WebAssembly.instantiateStreaming(response, {})).instance;
    }
    return (await WebAssembly.instantiate(await response.arrayBuffer(), {})).instance;
  }

  // Whether an element is one of the player's: an APPLET whose CODE names
  // the class, or an OBJECT whose CLASSID is java: and the class.
  function namesPlayer(element) {
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

  // The settings an element carries.
  function readSettings(element) {
    const params = readParams(element);
    const visible = yes(params.get('visible'), true);
    const buttons = integer(params.get('buttons'), 2);
    return {
      clip: (params.get('clip') || '').trim(),
      visible,
      buttons: Math.min(3, Math.max(1, buttons)),
      autoplay: yes(params.get('autoplay'), false),
      // -1 (any negative count) plays continuously; 0 still plays once.
      count: integer(params.get('count'), 1),
      width: Math.max(0, integer(element.getAttribute('width'), 0)),
      height: Math.max(0, integer(element.getAttribute('height'), 0)),
      align: (element.getAttribute('align') || '').trim().toLowerCase(),
    };
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

  const ICONS = {
    play: '<path d="M4 2.5v11l9-5.5z"/>',
    pause: '<path d="M3.5 2.5h3v11h-3zM9.5 2.5h3v11h-3z"/>',
    stop: '<path d="M3 3h10v10H3z"/>',
  };

  function iconMarkup(name) {
    return `<svg viewBox="0 0 16 16" width="16" height="16" aria-hidden="true" focusable="false" ` +
      `style="max-width:100%;max-height:100%;fill:currentColor">${ICONS[name]}</svg>`;
  }

  // A browser that holds audio back until the visitor has interacted with
  // the page may refuse resume(); the first interaction resumes it then.
  const ignore = () => {};

  const SCHEDULE_AHEAD_SECONDS = 2; // audio handed to Web Audio in advance
  const START_LEAD_SECONDS = 0.05; // from the press of Play to the first sample

  // The decoded clip as it grows: blocks of samples, and whether it is
  // complete. Listeners hear of every new block and of the end.
  class ClipStream {
    constructor(url) {
      this.url = url;
      this.blocks = []; // Float32Array each
      this.sampleRate = 8000;
      this.complete = false;
      this.error = null;
      this.listeners = new Set();
    }

    async load() {
      const decoder = new ClipDecoder(openCodec);
      try {
        const response = await fetch(this.url);
        if (!response.ok) throw new ClipError(`HTTP ${response.status} ${response.statusText}`.trim());
        if (!response.body) {
          await this.take(decoder, await decoder.push(new Uint8Array(await response.arrayBuffer())));
        } else {
          const reader = response.body.getReader();
          for (;;) {
            const { done, value } = await reader.read();
            if (done) break;
            await this.take(decoder, await decoder.push(value));
          }
        }
        await this.take(decoder, await decoder.finish());
        const header = decoder.header;
        if (decoder.frameBytes !== header.dataBytes) {
          console.warn(LOG_PREFIX, `${this.url}: the header announces ${header.dataBytes} bytes of frames, ` +
            `the file holds ${decoder.frameBytes}`);
        }
        if (this.blocks.length === 0) throw new ClipError('the clip holds no sound');
        this.complete = true;
      } catch (error) {
        decoder.close();
        this.error = error instanceof ClipError ? error : new ClipError(String(error && error.message || error));
      }
      this.notify();
    }

    async take(decoder, frames) {
      if (decoder.decoder) this.sampleRate = decoder.decoder.sampleRate;
      if (frames.length === 0) return;
      let length = 0;
      for (const pcm of frames) length += pcm.length >> 1;
      const block = new Float32Array(length);
      let offset = 0;
      for (const pcm of frames) {
        pcm16ToFloat(pcm, block, offset);
        offset += pcm.length >> 1;
      }
      this.blocks.push(block);
      this.notify();
    }

    notify() {
      for (const listener of this.listeners) listener();
    }
  }

  // The first interaction with the page, for players whose Autoplay the
  // browser held back. A player whose own button is pressed is left to that
  // button (see Player.press).
  const waitingForInteraction = new Set();
  function onFirstInteraction(event) {
    for (const player of waitingForInteraction) {
      player.resumeAfterInteraction(event);
      if (!player.held) waitingForInteraction.delete(player);
    }
    if (waitingForInteraction.size > 0) return;
    for (const type of ['pointerdown', 'keydown', 'touchend']) {
      document.removeEventListener(type, onFirstInteraction, true);
    }
  }
  function awaitInteraction(player) {
    if (waitingForInteraction.size === 0) {
      for (const type of ['pointerdown', 'keydown', 'touchend']) {
        document.addEventListener(type, onFirstInteraction, true);
      }
    }
    waitingForInteraction.add(player);
  }

  class Player {
    constructor(element, settings) {
      this.element = element; // the APPLET or OBJECT, kept aside for its body text
      this.settings = settings;
      this.context = null;
      this.state = 'stopped'; // stopped, playing, paused, failed
      this.held = false; // playing, but the browser holds the sound until an interaction
      this.generation = 0; // advances at every start and stop, to retire old sources
      this.sources = new Set();
      this.view = this.buildView();
      element.replaceWith(this.view);
      this.setState('stopped');
    }

    buildView() {
      const s = this.settings;
      const view = document.createElement('span');
      view.className = 'zv-stream-player';
      view.dataset.clip = s.clip;
      if (!s.visible) {
        view.hidden = true;
        return view;
      }
      view.setAttribute('role', 'group');
      view.setAttribute('aria-label', `Sound clip ${s.clip}`);
      const style = view.style;
      style.display = 'inline-flex';
      style.boxSizing = 'border-box';
      style.width = `${s.width}px`;
      style.height = `${s.height}px`;
      style.gap = '2px';
      style.verticalAlign = 'middle';
      applyAlign(style, s.align);
      const names = s.buttons === 1 ? ['play'] : s.buttons === 2 ? ['play', 'stop'] : ['play', 'pause', 'stop'];
      this.buttons = {};
      for (const name of names) {
        const button = document.createElement('button');
        button.type = 'button';
        button.className = `zv-stream-player-${name}`;
        Object.assign(button.style, { flex: '1 1 0', minWidth: '0', height: '100%', padding: '0',
          display: 'inline-flex', alignItems: 'center', justifyContent: 'center', cursor: 'pointer' });
        button.addEventListener('click', () => this.press(name));
        view.append(button);
        this.buttons[name] = button;
      }
      return view;
    }

    label(button, name, text) {
      button.setAttribute('aria-label', text);
      button.title = text;
      button.innerHTML = iconMarkup(name);
    }

    setState(state) {
      this.state = state;
      this.view.dataset.state = state;
      if (!this.buttons) return;
      const { play, pause, stop } = this.buttons;
      if (this.settings.buttons === 1) {
        // One button: Play while stopped or paused, Stop while playing.
        if (state === 'playing' && !this.held) this.label(play, 'stop', 'Stop');
        else this.label(play, 'play', 'Play');
        return;
      }
      this.label(play, 'play', 'Play');
      if (pause) this.label(pause, 'pause', 'Pause');
      this.label(stop, 'stop', 'Stop');
      play.setAttribute('aria-pressed', String(state === 'playing'));
      if (pause) pause.setAttribute('aria-pressed', String(state === 'paused'));
    }

    press(name) {
      if (this.state === 'failed') return;
      if (this.held) {
        // Nothing has been heard yet: the press decides what the sound does.
        this.held = false;
        if (name === 'stop') this.stop();
        else if (name === 'pause') this.setState('paused');
        else {
          this.context.resume().catch(ignore);
          this.setState(this.state);
        }
        return;
      }
      if (name === 'play') {
        if (this.settings.buttons === 1 && this.state === 'playing') this.stop();
        else this.play();
      } else if (name === 'pause') {
        this.pause();
      } else {
        this.stop();
      }
    }

    // Fetches and decodes the clip; shows the body text when it fails.
    start() {
      const AudioContextClass = window.AudioContext || window.webkitAudioContext;
      if (typeof WebAssembly !== 'object') return this.fail(new ClipError('this browser has no WebAssembly'));
      if (!AudioContextClass) return this.fail(new ClipError('this browser has no Web Audio'));
      if (!this.settings.clip) return this.fail(new ClipError('the element names no clip (its Clip parameter is missing)'));
      this.clip = new ClipStream(new URL(this.settings.clip, document.baseURI).href);
      this.clip.listeners.add(() => {
        if (this.clip.error) this.fail(this.clip.error);
        else if (this.state === 'playing') this.schedule();
      });
      this.clip.load();
      if (this.settings.autoplay) this.autoplay();
    }

    autoplay() {
      this.play();
      if (this.context && this.context.state !== 'running') {
        this.held = true;
        this.setState(this.state);
        awaitInteraction(this);
      }
    }

    resumeAfterInteraction(event) {
      if (!this.held || this.view.contains(event.target)) return;
      this.held = false;
      this.context.resume().catch(ignore);
      this.setState(this.state);
    }

    // A context at the clip's own rate, where the browser offers one, so the
    // decoded samples reach the output unchanged (the browser resamples
    // once, for the device).
    audioContext() {
      if (!this.context) {
        const AudioContextClass = window.AudioContext || window.webkitAudioContext;
        try {
          this.context = new AudioContextClass({ sampleRate: this.clip.sampleRate, latencyHint: 'playback' });
        } catch (error) {
          this.context = new AudioContextClass();
        }
      }
      return this.context;
    }

    play() {
      if (this.state === 'failed' || this.state === 'playing') return;
      const context = this.audioContext();
      if (this.state === 'paused') {
        this.setState('playing');
        context.resume().catch(ignore);
        return;
      }
      context.resume().catch(ignore);
      this.generation += 1;
      const count = this.settings.count;
      this.passesLeft = count < 0 ? Infinity : Math.max(1, count);
      this.nextBlock = 0;
      this.passSamples = 0; // samples of this pass handed to Web Audio
      // On a sample of the context, so that no buffer starts between two.
      this.passStart = Math.ceil((context.currentTime + START_LEAD_SECONDS) * context.sampleRate) / context.sampleRate;
      this.setState('playing');
      this.schedule();
    }

    pause() {
      if (this.state !== 'playing') return;
      this.setState('paused');
      this.context.suspend().catch(ignore);
    }

    stop() {
      if (this.state !== 'playing' && this.state !== 'paused') return;
      this.generation += 1;
      for (const source of this.sources) {
        source.onended = null;
        source.stop();
      }
      this.sources.clear();
      clearTimeout(this.timer);
      this.setState('stopped');
      if (this.context.state === 'suspended') this.context.resume().catch(ignore);
    }

    // Hands decoded blocks to Web Audio, back to back, up to a little ahead
    // of the playback position; starts the next pass when one is complete.
    schedule() {
      clearTimeout(this.timer);
      const context = this.context;
      const clip = this.clip;
      const rate = clip.sampleRate;
      for (;;) {
        let at = this.passStart + this.passSamples / rate;
        if (at > context.currentTime + SCHEDULE_AHEAD_SECONDS) {
          this.timer = setTimeout(() => this.schedule(), 500);
          return;
        }
        if (this.nextBlock < clip.blocks.length) {
          // Data that arrives late starts as soon as it can.
          const earliest = Math.ceil((context.currentTime + 0.01) * context.sampleRate) / context.sampleRate;
          if (at < earliest) {
            this.passStart += earliest - at;
            at = earliest;
          }
          const samples = clip.blocks[this.nextBlock++];
          this.playBlock(samples, rate, at);
          this.passSamples += samples.length;
          continue;
        }
        if (!clip.complete) return; // the next block comes with the data
        this.passesLeft -= 1;
        if (this.passesLeft <= 0) {
          this.lastSourceEnds();
          return;
        }
        this.passStart = at;
        this.passSamples = 0;
        this.nextBlock = 0;
      }
    }

    playBlock(samples, rate, at) {
      const context = this.context;
      const buffer = context.createBuffer(1, samples.length, rate);
      buffer.getChannelData(0).set(samples);
      const source = context.createBufferSource();
      source.buffer = buffer;
      source.connect(context.destination);
      const generation = this.generation;
      source.onended = () => {
        this.sources.delete(source);
        if (generation === this.generation && this.finalSource === source) this.finished();
      };
      this.sources.add(source);
      source.start(at);
      this.finalSource = source;
    }

    // Every pass is handed over: the player stops when the last block ends.
    lastSourceEnds() {
      if (this.sources.size === 0) this.finished();
    }

    finished() {
      this.finalSource = null;
      this.generation += 1;
      this.setState('stopped');
    }

    fail(error) {
      if (this.state === 'failed') return;
      console.error(LOG_PREFIX, `cannot play ${this.settings.clip || 'the clip'}: ${error.message}`);
      if (this.context) {
        this.generation += 1;
        for (const source of this.sources) source.stop();
        this.sources.clear();
        clearTimeout(this.timer);
        this.context.close().catch(ignore);
      }
      this.setState('failed');
      // The element's body text, as a browser without the player would show it.
      const fallback = document.createElement('span');
      fallback.className = 'zv-stream-player-fallback';
      fallback.dataset.state = 'failed';
      for (const node of this.element.childNodes) {
        if (node.nodeType === Node.ELEMENT_NODE && node.localName === 'param') continue;
        fallback.append(node.cloneNode(true));
      }
      this.view.replaceWith(fallback);
      this.view = fallback;
    }
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
      const player = new Player(element, readSettings(element));
      players.push(player);
      player.start();
    }
  }

  window.ZvStreamPlayer = { players, ClipError, readStreamHeader };
  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', takeOverPage);
  else takeOverPage();
})();
