// The decoders: the codec libraries' own entry points in WebAssembly, and
// a stream decoder that takes a clip piece by piece as it arrives.
//
//   Open_Decoder(flags) -> handle        flags 1: 16-bit PCM, 2: 8-bit PCM
//   Decode(handle, coded, &codedBytes, pcm, &pcmBytes) -> 0, or -2/-3
//   Close_Decoder(handle)
//   GetCodecInfoEx(info, 122)            pcmBytesPerFrame at 110,
//                                        maxCodedBytes at 112, rate at 100
// Counts are 16-bit values in the module's memory. A decoder is offered
// the next maxCodedBytes bytes (fewer at the end of the data) and reports
// in codedBytes how many the frame took.
import { ClipError, HEADER_BYTES, readStreamHeader } from './zvplayer_stream_format.js';

const CODEC_INFO_EX_BYTES = 122;
const CODEC_OK_FLAGS_16BIT = 1;

// Fetches and instantiates a decoder module. Streaming compilation needs
// the application/wasm media type; a server that sends another one still
// gets its bytes compiled.
export async function instantiateCodec(url, library) {
  let response;
  try {
    response = await fetch(url);
  } catch (error) {
    throw new ClipError(`the ${library} decoder (${url}) cannot be loaded: ${error.message}`);
  }
  if (!response.ok) throw new ClipError(`the ${library} decoder (${url}) cannot be loaded: HTTP ${response.status}`);
  try {
    const type = (response.headers.get('Content-Type') || '').split(';')[0].trim();
    if (WebAssembly.instantiateStreaming && type === 'application/wasm') {
      return (await WebAssembly.instantiateStreaming(response, {})).instance;
    }
    return (await WebAssembly.instantiate(await response.arrayBuffer(), {})).instance;
  } catch (error) {
    throw new ClipError(`the ${library} decoder (${url}) is not a usable WebAssembly module: ${error.message}`);
  }
}

export class FrameDecoder {
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
export class ClipDecoder {
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
