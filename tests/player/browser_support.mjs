// What the browser tests share: a web made by the system (clips that zvsa
// encodes from the built-in sample, pages with WEBBOT components that
// `zvsa markup --webbot` writes), `webhost preview` serving it, the native
// decoder's samples of each clip, and the judgement of what a page sent to
// Web Audio against them.
import { execFileSync, spawn } from 'node:child_process';
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { createInterface } from 'node:readline';

import assert from 'node:assert/strict';

import { ENGINES, engineAvailable, enginePrograms } from './browsers.mjs';
import { require as requireTool, requireFiles } from './requirements.mjs';

// The first `seconds` of a 16-bit mono WAV file, as a new WAV file.
export function cutWav(source, target, seconds) {
  const bytes = readFileSync(source);
  let at = 12;
  let format = null;
  while (at + 8 <= bytes.length) {
    const id = bytes.toString('latin1', at, at + 4);
    const size = bytes.readUInt32LE(at + 4);
    if (id === 'fmt ') format = bytes.subarray(at + 8, at + 8 + size);
    if (id === 'data') {
      const rate = format.readUInt32LE(4);
      const data = bytes.subarray(at + 8, at + 8 + Math.min(size, Math.round(seconds * rate) * 2));
      const header = Buffer.alloc(44);
      header.write('RIFF', 0, 'latin1');
      header.writeUInt32LE(36 + data.length, 4);
      header.write('WAVEfmt ', 8, 'latin1');
      header.writeUInt32LE(16, 16);
      format.copy(header, 20, 0, 16);
      header.write('data', 36, 'latin1');
      header.writeUInt32LE(data.length, 40);
      writeFileSync(target, Buffer.concat([header, data]));
      return;
    }
    at += 8 + size + (size & 1);
  }
  throw new Error(`${source}: no data chunk`);
}

function wavSamples(file) {
  const bytes = readFileSync(file);
  let at = 12;
  while (at + 8 <= bytes.length) {
    const size = bytes.readUInt32LE(at + 4);
    if (bytes.toString('latin1', at, at + 4) === 'data') {
      const samples = [];
      for (let i = 0; i + 1 < size; i += 2) samples.push(bytes.readInt16LE(at + 8 + i));
      return samples;
    }
    at += 8 + size + (size & 1);
  }
  throw new Error(`${file}: no data chunk`);
}

// The native decoder's samples of a stream file (zvsa decode, the codec
// libraries themselves).
export function nativeSamples(zvsa, clip) {
  const wav = `${clip}.native.wav`;
  execFileSync(zvsa, ['decode', clip, '-o', wav, '-q']);
  return wavSamples(wav);
}

// A page holding the components that `zvsa markup --webbot` writes for each
// entry of `players`: { clip, args } with args the markup options.
export function writePage(zvsa, file, title, players) {
  let body = '';
  players.forEach(({ clip, args }, index) => {
    body += `<p>${title}: ${clip}</p>\r\n<div id="player-${index}">\r\n`;
    body += execFileSync(zvsa, ['markup', clip, '--webbot', ...args], { encoding: 'latin1' });
    body += '</div>\r\n';
  });
  writeFileSync(file, `<!DOCTYPE html>\r\n<html><head><title>${title}</title></head><body>\r\n${body}</body></html>\r\n`,
    'latin1');
}

// webhost preview of `web`: resolves to { url, stop() }. It is stopped
// when this process exits, whatever the way.
export function startPreview(webhost, web) {
  const child = spawn(webhost, ['preview', web], { stdio: ['ignore', 'pipe', 'inherit'] });
  const stopOnExit = () => child.kill('SIGTERM');
  process.once('exit', stopOnExit);
  return new Promise((resolve, reject) => {
    child.once('error', reject);
    child.once('exit', (code) => reject(new Error(`webhost preview ended early (${code})`)));
    createInterface({ input: child.stdout }).once('line', (url) => {
      child.removeAllListeners('exit');
      resolve({
        url,
        stop: () => new Promise((done) => {
          process.removeListener('exit', stopOnExit);
          child.once('exit', (code, signal) => done({ code, signal }));
          child.kill('SIGTERM');
        }),
      });
    });
  });
}

// The options of the browser tests, with what they need checked.
export function browserTestOptions(args) {
  requireTool(ENGINES.includes(args.engine), `unknown engine ${args.engine}`);
  requireTool(engineAvailable(args.engine, args),
    `${args.engine} is not installed (${enginePrograms(args.engine, args).join(', ')}; scripts/install-deps.sh installs it)`);
  requireFiles([path.join(args.npm, 'node_modules', 'puppeteer-core', 'package.json'),
    path.join(args.npm, 'node_modules', 'selenium-webdriver', 'package.json')],
  'the browser drivers from npm are not installed (scripts/install-deps.sh runs npm ci in tests/player)');
  requireFiles(playerFiles(args.playerlist).map((f) => path.join(args.player, f)),
    'the web player is not built (emscripten missing?)');
  return args;
}

// The player's files as the product lists them (player/player_files.h).
export function playerFiles(header) {
  return [...readFileSync(header, 'utf8').matchAll(/^ +"([A-Za-z0-9_.]+\.(?:js|wasm))",$/gm)].map((m) => m[1])
    .concat(['ZvStreamPlayer.js']);
}

// In the page: what player `index` sent to its context's destination (as
// the tap in page_tap.js heard it), and the player's state.
export function heard(page, index) {
  return page.evaluate((i) => {
    const player = window.ZvStreamPlayer.players[i];
    return { state: player.state, samples: player.output ? window.__zvHeard(player.output) : [] };
  }, index);
}

const nonZero = (samples) => samples.filter((x) => x !== 0);

// Waits until the tap has heard as many sounding samples as `expected`
// holds (the tap hears a block after it is rendered), or more.
export async function waitHeard(page, index, expected, what) {
  const want = nonZero(expected).length;
  try {
    await page.waitFor(([i, n]) => {
      const player = window.ZvStreamPlayer.players[i];
      return player.output && window.__zvHeard(player.output).filter((x) => x !== 0).length >= n;
    }, [index, want], `${what}: the whole clip to be heard`);
  } catch (error) {
    const { samples, state } = await heard(page, index);
    throw new Error(`${error.message} (${nonZero(samples).length} of ${want} sounding samples heard, ` +
      `${samples.length} in all; player ${state})`);
  }
  return heard(page, index);
}

// What was heard is `expected` (the native decoder's samples), in order,
// nothing skipped, nothing twice. Silence between samples (a stall, a
// pause) is allowed unless `gapless`: then the sound is one unbroken run.
export function assertHeard(samples, expected, what, { gapless = false } = {}) {
  const got = nonZero(samples);
  const want = nonZero(expected);
  const firstDifference = () => {
    for (let n = 0; n < Math.max(got.length, want.length); ++n) if (got[n] !== want[n]) return n;
    return -1;
  };
  const at = firstDifference();
  assert.ok(at < 0, `${what}: the sound heard differs from the native decoder's from sounding sample ${at} ` +
    `(${got.length} heard, ${want.length} expected)`);
  if (!gapless) return;
  const offset = samples.findIndex((x) => x !== 0) - expected.findIndex((x) => x !== 0);
  const run = samples.slice(offset, offset + expected.length);
  assert.ok(run.length === expected.length && run.every((x, n) => x === expected[n]),
    `${what}: the clip was not heard as one unbroken run`);
}

export const repeat = (samples, times) => Array.from({ length: times }, () => samples).flat();

export function ensureFolder(folder) {
  mkdirSync(folder, { recursive: true });
  return folder;
}
