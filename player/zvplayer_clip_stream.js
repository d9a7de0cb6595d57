// A clip as it arrives: fetched on first need, decoded frame by frame into
// one growing array of 16-bit samples. Listeners hear of every change
// (more samples, the end of the data, a failure).
import { ClipDecoder } from './zvplayer_decoder.js';
import { ClipError } from './zvplayer_stream_format.js';

const LOG_PREFIX = 'ZvStreamPlayer:';
const MAX_PREALLOCATED_SAMPLES = 8000 * 60 * 10; // a header cannot make us reserve more than ten minutes

export class ClipStream {
  // `url`: the clip; `openCodec(codec)`: resolves to the codec's
  // WebAssembly instance.
  constructor(url, openCodec) {
    this.url = url;
    this.openCodec = openCodec;
    this.samples = new Int16Array(0);
    this.length = 0; // samples decoded so far
    this.sampleRate = 8000;
    this.expectedSamples = 0; // the header's sample count, once it has come
    this.complete = false; // every byte has arrived and is decoded
    this.error = null; // why the data ended early (this.length may be > 0)
    this.started = false;
    this.listeners = new Set();
  }

  // Whether no more samples will come.
  get ended() {
    return this.complete || this.error !== null;
  }

  subscribe(listener) {
    this.listeners.add(listener);
    return () => this.listeners.delete(listener);
  }

  // Starts the download once; later calls do nothing.
  start() {
    if (this.started) return;
    this.started = true;
    this.load();
  }

  async load() {
    const decoder = new ClipDecoder(this.openCodec);
    try {
      const response = await fetch(this.url);
      if (!response.ok) throw new ClipError(`HTTP ${response.status} ${response.statusText}`.trim());
      if (!response.body) {
        this.take(decoder, await decoder.push(new Uint8Array(await response.arrayBuffer())));
      } else {
        const reader = response.body.getReader();
        for (;;) {
          const { done, value } = await reader.read();
          if (done) break;
          this.take(decoder, await decoder.push(value));
        }
      }
      this.take(decoder, await decoder.finish());
      const header = decoder.header;
      if (decoder.frameBytes !== header.dataBytes) {
        console.warn(LOG_PREFIX, `${this.url}: the header announces ${header.dataBytes} bytes of frames, ` +
          `the file holds ${decoder.frameBytes}`);
      }
      if (this.length === 0) throw new ClipError('the clip holds no sound');
      this.complete = true;
    } catch (error) {
      decoder.close();
      this.error = error instanceof ClipError ? error : new ClipError(String((error && error.message) || error));
    }
    this.notify();
  }

  take(decoder, frames) {
    if (decoder.decoder) this.sampleRate = decoder.decoder.sampleRate;
    if (decoder.header) this.expectedSamples = decoder.header.sampleCount;
    if (this.samples.length === 0 && decoder.header) {
      this.samples = new Int16Array(Math.min(decoder.header.sampleCount, MAX_PREALLOCATED_SAMPLES));
    }
    if (frames.length === 0) return;
    let added = 0;
    for (const pcm of frames) added += pcm.length >> 1;
    this.reserve(this.length + added);
    for (const pcm of frames) {
      const view = new DataView(pcm.buffer, pcm.byteOffset, pcm.length);
      for (let i = 0; i + 1 < pcm.length; i += 2) this.samples[this.length++] = view.getInt16(i, true);
    }
    this.notify();
  }

  reserve(needed) {
    if (needed <= this.samples.length) return;
    const grown = new Int16Array(Math.max(needed, this.samples.length * 2, 8000));
    grown.set(this.samples.subarray(0, this.length));
    this.samples = grown;
  }

  // Samples [from, to) as floats in [-1, 1), into `out` (a Float32Array of
  // at least to - from).
  copyFloat(from, to, out) {
    for (let n = from; n < to; ++n) out[n - from] = this.samples[n] / 32768;
  }

  notify() {
    for (const listener of [...this.listeners]) listener();
  }
}
