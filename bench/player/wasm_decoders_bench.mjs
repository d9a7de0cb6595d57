// Speed of the web player's two decoders in WebAssembly, in node: seconds
// of audio decoded per second of wall time ("x real time"). Each decoder
// decodes the conformance vectors' frames (vowels, tones, noise, silence)
// through the player's FrameDecoder, over and over for about two seconds,
// after a warm-up pass; the best of three rounds is printed.
//
//   node bench/player/wasm_decoders_bench.mjs [--build DIR] [--seconds S]
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

import { options, requireFiles } from '../../tests/player/requirements.mjs';

const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../..');
const args = { build: path.join(root, 'build'), seconds: '2', ...options() };
const lib = path.join(args.build, 'lib');
const vectors = path.join(root, 'tests/data/vectors');
requireFiles(['QV80W.wasm', 'QV160MXW.wasm', 'QV48W.wasm', 'zvplayer_decoder.js'].map((f) => path.join(lib, f)),
  'the WebAssembly decoders are not built');

const { FrameDecoder } = await import(pathToFileURL(path.join(lib, 'zvplayer_decoder.js')).href);

const codecs = [
  { name: 'speech (QV80W)', file: 'QV80W.wasm', prefix: 'QV80_', extension: 'qv80' },
  { name: 'music (QV160MXW)', file: 'QV160MXW.wasm', prefix: 'QV160MX_', extension: 'qv160' },
  { name: 'low-rate speech (QV48W)', file: 'QV48W.wasm', prefix: 'QV48_', extension: 'qv48' },
];

// Decodes every frame of `clips` once with a fresh decoder; returns the
// seconds of audio made.
function decodeAll(decoder, clips) {
  let pcmBytes = 0;
  for (const frames of clips) {
    let at = 0;
    while (at < frames.length) {
      const frame = decoder.decode(frames.subarray(at, at + Math.min(decoder.maxCodedBytes, frames.length - at)));
      if (!frame) throw new Error(`a conformance frame was refused at byte ${at}`);
      pcmBytes += frame.pcm.length;
      at += frame.consumed;
    }
  }
  return pcmBytes / 2 / decoder.sampleRate;
}

for (const codec of codecs) {
  const { instance } = await WebAssembly.instantiate(readFileSync(path.join(lib, codec.file)), {});
  const clips = ['vowels', 'tones', 'noise', 'silence'].map(
    (name) => new Uint8Array(readFileSync(path.join(vectors, `${name}.${codec.extension}`))));
  let best = 0;
  for (let round = 0; round <= 3; ++round) {
    const decoder = new FrameDecoder(instance, codec.prefix);
    let audioSeconds = 0;
    const start = process.hrtime.bigint();
    let elapsed = 0;
    do {
      audioSeconds += decodeAll(decoder, clips);
      elapsed = Number(process.hrtime.bigint() - start) / 1e9;
    } while (round > 0 && elapsed < Number(args.seconds));
    decoder.close();
    if (round > 0) best = Math.max(best, audioSeconds / elapsed);  // round 0 warms up
  }
  console.log(`${codec.name.padEnd(18)} ${best.toFixed(0).padStart(6)} x real time`);
}
