// The WebAssembly decoders against the native ones, bit for bit.
//
// The conformance vectors' frames (every codec, the speech codecs in 16-bit
// and 8-bit mode) go through the player's FrameDecoder on the WebAssembly
// modules and must give exactly the vectors' decoded PCM. Stream files go
// through the player's ClipDecoder, offered in small uneven pieces as a
// network delivers them, and must give exactly what the native `zvsa decode`
// (libQV80W.so, libQV160MXW.so, libQV48W.so) writes: the vectors' stream files, and
// streams that the native `zvsa encode` makes from the built-in sample.
//
//   node wasm_decoders_test.mjs --player DIR --wasm DIR --vectors DIR
//        --zvsa PATH --sample WAV --work DIR
import test from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

import { options, requireFiles } from './requirements.mjs';

const args = options();
const wasmFiles = ['QV80W.wasm', 'QV160MXW.wasm', 'QV48W.wasm'].map((f) => path.join(args.wasm, f));
requireFiles(wasmFiles, 'the WebAssembly decoders are not built (emscripten missing?)');

const { ClipDecoder, FrameDecoder } = await import(pathToFileURL(path.resolve(args.player, 'zvplayer_decoder.js')).href);
const player = await import(pathToFileURL(path.resolve(args.player, 'zvplayer_stream_format.js')).href);
const { CODECS } = player;

const instances = new Map();
async function openCodec(codec) {
  if (!instances.has(codec.file)) {
    const bytes = readFileSync(path.join(args.wasm, codec.file));
    instances.set(codec.file, (await WebAssembly.instantiate(bytes, {})).instance);
  }
  return instances.get(codec.file);
}
const codecByLibrary = (library) => [...CODECS.values()].find((c) => c.library === library);
// PCM bytes of a frame in 8-bit mode, which the information record does not give.
const EIGHT_BIT_FRAME_BYTES = { QV80W: 160, QV48W: 240 };

// Decodes raw frames back to back, each consumed by the length the decoder
// reports, as the stream reader does.
async function decodeFrames(library, frames, flags) {
  const codec = codecByLibrary(library);
  const eightBit = flags === 2;
  const decoder = new FrameDecoder(await openCodec(codec), codec.prefix, flags,
                                   eightBit ? EIGHT_BIT_FRAME_BYTES[library] : 0);
  const out = [];
  let at = 0;
  while (at < frames.length) {
    const frame = decoder.decode(frames.subarray(at, at + Math.min(decoder.maxCodedBytes, frames.length - at)));
    assert.ok(frame, `frame at byte ${at} refused`);
    out.push(frame.pcm);
    at += frame.consumed;
  }
  decoder.close();
  return Buffer.concat(out);
}

// Index and length of the first difference, for a readable failure.
function assertSameBytes(actual, expected, what) {
  if (Buffer.compare(actual, expected) === 0) return;
  let i = 0;
  while (i < actual.length && i < expected.length && actual[i] === expected[i]) ++i;
  assert.fail(`${what}: ${actual.length} bytes decoded, ${expected.length} expected; first difference at byte ${i}`);
}

const vector = (name) => new Uint8Array(readFileSync(path.join(args.vectors, name)));

test('conformance vectors decode to the vectors\' PCM', async (t) => {
  const cases = [
    ['QV80W', 'vowels.qv80', 'vowels.qv80.dec.raw', 1],
    ['QV80W', 'tones.qv80', 'tones.qv80.dec.raw', 1],
    ['QV80W', 'noise.qv80', 'noise.qv80.dec.raw', 1],
    ['QV80W', 'silence.qv80', 'silence.qv80.dec.raw', 1],
    ['QV80W', 'vowels8.qv80', 'vowels8.qv80.dec8.raw', 2],
    ['QV160MXW', 'vowels.qv160', 'vowels.qv160.dec.raw', 1],
    ['QV160MXW', 'tones.qv160', 'tones.qv160.dec.raw', 1],
    ['QV160MXW', 'noise.qv160', 'noise.qv160.dec.raw', 1],
    ['QV160MXW', 'silence.qv160', 'silence.qv160.dec.raw', 1],
    ['QV48W', 'vowels.qv48', 'vowels.qv48.dec.raw', 1],
    ['QV48W', 'tones.qv48', 'tones.qv48.dec.raw', 1],
    ['QV48W', 'noise.qv48', 'noise.qv48.dec.raw', 1],
    ['QV48W', 'silence.qv48', 'silence.qv48.dec.raw', 1],
    ['QV48W', 'vowels-short.qv48', 'vowels-short.qv48.dec.raw', 1],
    ['QV48W', 'vowels8.qv48', 'vowels8.qv48.dec8.raw', 2],
  ];
  for (const [library, coded, decoded, flags] of cases) {
    await t.test(coded, async () => {
      assertSameBytes(await decodeFrames(library, vector(coded), flags), Buffer.from(vector(decoded)), coded);
    });
  }
});

// The samples of a 16-bit PCM WAV file's data chunk.
function wavData(file) {
  const bytes = readFileSync(file);
  let at = 12;
  while (at + 8 <= bytes.length) {
    const id = bytes.toString('latin1', at, at + 4);
    const size = bytes.readUInt32LE(at + 4);
    if (id === 'data') return bytes.subarray(at + 8, at + 8 + size);
    at += 8 + size + (size & 1);
  }
  throw new Error(`${file}: no data chunk`);
}

// A stream file through ClipDecoder in pieces of 1, 2, 3, ... 17 bytes,
// then again, as a slow network would hand them over.
async function decodeStream(bytes) {
  const decoder = new ClipDecoder(openCodec);
  const blocks = [];
  let at = 0;
  for (let piece = 1; at < bytes.length; piece = piece % 17 + 1) {
    blocks.push(...await decoder.push(bytes.subarray(at, at + piece)));
    at += piece;
  }
  blocks.push(...await decoder.finish());
  return { pcm: Buffer.concat(blocks), decoder };
}

test('stream files decode as the native zvsa decode does', async (t) => {
  const work = mkdtempSync(path.join(args.work, 'wasm-decoders-'));
  try {
    const streams = [
      path.join(args.vectors, 'vowels-speech.zvsa'),
      path.join(args.vectors, 'vowels-music.zvsa'),
      path.join(args.vectors, 'vowels-lowspeech.zvsa'),
    ];
    for (const codec of ['speech', 'music', 'lowspeech']) {
      const made = path.join(work, `sample-${codec}.zvsa`);
      execFileSync(args.zvsa, ['encode', args.sample, '-o', made, '--codec', codec, '-q']);
      streams.push(made);
    }
    for (const stream of streams) {
      await t.test(path.basename(stream), async () => {
        const wav = path.join(work, `${path.basename(stream)}.wav`);
        execFileSync(args.zvsa, ['decode', stream, '-o', wav, '-q']);
        const native = wavData(wav);
        const { pcm, decoder } = await decodeStream(new Uint8Array(readFileSync(stream)));
        assert.ok(native.length > 8000, 'the native decoder produced at least half a second');
        assertSameBytes(pcm, native, path.basename(stream));
        assert.equal(decoder.frameBytes, decoder.header.dataBytes);
        assert.equal(decoder.cutShort, false);
      });
    }
  } finally {
    rmSync(work, { recursive: true, force: true });
  }
});

test('a damaged header is refused with its reason', async (t) => {
  const good = vector('vowels-music.zvsa');
  const damage = [
    ['banner', (b) => { b[0] = 0x41; }, /banner is missing/],
    ['banner end', (b) => { b.fill(0x20, 70, 128); }, /banner text does not end/],
    ['check word', (b) => { b[150] ^= 1; }, /check word is wrong/],
    ['data length', (b) => { b[146] ^= 4; }, /check word is wrong/],
  ];
  for (const [what, spoil, reason] of damage) {
    await t.test(what, async () => {
      const bytes = good.slice();
      spoil(bytes);
      await assert.rejects(new ClipDecoder(openCodec).push(bytes), reason);
    });
  }
  await t.test('short file', async () => {
    const decoder = new ClipDecoder(openCodec);
    await decoder.push(good.subarray(0, 100));
    await assert.rejects(decoder.finish(), /too short for its header/);
  });
  await t.test('unknown codec with a matching check word', async () => {
    const bytes = good.slice();
    const view = new DataView(bytes.buffer);
    view.setUint16(128, 7, true);
    view.setUint32(150, player.computeCheckWord(view.getUint32(138, true), view.getUint32(146, true), 7), true);
    await assert.rejects(new ClipDecoder(openCodec).push(bytes), /codec 7, which this player does not have/);
  });
  await t.test('the check word of the worked example', () => {
    assert.equal(player.computeCheckWord(8000, 2000, 1), 0xf41ee0be);
    assert.equal(player.computeCheckWord(0, 0, 1), 0xfffefffe);
  });
});

// A decoder that refuses one frame in the middle of a clip: the stream
// decoder names the frame, at its byte in the file, and what came before it
// was handed over. (The two codecs of the system take any frame a file can
// hold, so this is a decoder made for the test, with the entry points and
// memory layout of the real ones.)
test('a frame the decoder refuses in the middle is named by its byte', async () => {
  const good = vector('vowels-speech.zvsa');
  const refusing = (refuseCall) => {
    const memory = new WebAssembly.Memory({ initial: 1 });
    let top = 1024;
    let calls = 0;
    const exports = {
      memory,
      malloc: (bytes) => { const at = top; top += (bytes + 7) & ~7; return at; },
      free: () => {},
      QV80_GetCodecInfoEx: (info) => {
        const view = new DataView(memory.buffer, info, 122);
        view.setUint32(100, 8000, true);
        view.setUint16(110, 320, true);
        view.setUint16(112, 20, true);
      },
      QV80_Open_Decoder: () => 1,
      QV80_Close_Decoder: () => 0,
      QV80_Decode: (handle, coded, codedBytes, pcm, pcmBytes) => {
        if (++calls === refuseCall) return -3;
        const view = new DataView(memory.buffer);
        view.setUint16(codedBytes, 20, true);
        view.setUint16(pcmBytes, 320, true);
        return 0;
      },
    };
    return async () => ({ exports });
  };
  const decoder = new ClipDecoder(refusing(3));
  // The header and two whole frames first: those are decoded.
  assert.equal((await decoder.push(good.subarray(0, 154 + 2 * 20 + 10))).length, 2);
  await assert.rejects(decoder.push(good.subarray(154 + 50, 154 + 200)), /the frame at byte 194 cannot be decoded/);
});
