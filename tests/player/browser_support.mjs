// What the browser tests share: a web made by the system (clips that zvsa
// encodes from the built-in sample, pages with WEBBOT components that
// `zvsa markup --webbot` writes), `webhost preview` serving it, the native
// decoder's samples of each clip, Debian's chromium driven by playwright-core,
// and a recorder of what the page hands to Web Audio.
import { execFileSync, spawn } from 'node:child_process';
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { createInterface } from 'node:readline';

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
  for (const { clip, args } of players) {
    body += `<p>${title}: ${clip}</p>\r\n`;
    body += execFileSync(zvsa, ['markup', clip, '--webbot', ...args], { encoding: 'latin1' });
  }
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
  requireTool(args.chromium && !args.chromium.endsWith('NOTFOUND'), 'chromium not found (install it with scripts/install-deps.sh)');
  requireFiles([args.chromium], 'chromium is missing');
  requireFiles([path.join(args.npm, 'node_modules', 'playwright-core', 'package.json')],
    'playwright-core is not installed (npm ci in the build tree failed or npm is missing)');
  requireFiles(['ZvStreamPlayer.js', 'QV80W.wasm', 'QV160MXW.wasm'].map((f) => path.join(args.player, f)),
    'the web player is not built (emscripten missing?)');
  return args;
}

// Chromium holds sound back until the visitor's first interaction with the
// page, as every current browser does by default (said explicitly here);
// with `allowAutoplay` it lets pages start sound by themselves, as a
// visitor's settings may.
export async function launchChromium(args, { allowAutoplay }) {
  const { chromium } = createRequire(path.resolve(args.npm, 'package.json'))('playwright-core');
  const switches = ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
    '--disable-sync', '--no-first-run'];
  switches.push(`--autoplay-policy=${allowAutoplay ? 'no-user-gesture-required' : 'document-user-activation-required'}`);
  // playwright gives each launch a fresh, temporary --user-data-dir.
  return chromium.launch({ executablePath: args.chromium, headless: true, args: switches });
}

// Runs in the page before its scripts: records every buffer that the page
// starts on an AudioBufferSourceNode (its samples, the context, the start
// time asked for) and every stop, in window.__zvAudio.
export function audioRecorder() {
  return `(() => {
    const records = [];
    window.__zvAudio = records;
    const start = AudioBufferSourceNode.prototype.start;
    AudioBufferSourceNode.prototype.start = function (when = 0, ...rest) {
      records.push({ context: this.context, node: this, when: when || this.context.currentTime,
        askedAt: this.context.currentTime, rate: this.buffer.sampleRate,
        samples: this.buffer.getChannelData(0).slice(), stopped: false });
      return start.call(this, when, ...rest);
    };
    const stop = AudioBufferSourceNode.prototype.stop;
    AudioBufferSourceNode.prototype.stop = function (...args) {
      for (const r of records) if (r.node === this) r.stopped = true;
      return stop.apply(this, args);
    };
  })();`;
}

// In the page: what player `index` handed to Web Audio. `samples` are the
// 16-bit values (every sample the player makes is one of them exactly),
// `gapless` whether every buffer starts where the one before ends, and
// `render` what an OfflineAudioContext makes of the recorded buffers at
// their recorded times: its length in samples, its RMS, and the first and
// last sample above silence.
export async function recordedAudio(page, index) {
  return page.evaluate(async (i) => {
    const context = window.ZvStreamPlayer.players[i].context;
    const list = window.__zvAudio.filter((r) => r.context === context);
    if (list.length === 0) return { samples: [], sources: 0 };
    const rate = list[0].rate;
    const t0 = list[0].when;
    const samples = [];
    let gapless = true;
    let expected = t0;
    for (const r of list) {
      if (Math.abs(r.when - expected) > 1e-6) gapless = false;
      expected = r.when + r.samples.length / rate;
      for (const x of r.samples) samples.push(Math.round(x * 32768));
    }
    const length = Math.round((expected - t0) * rate);
    const offline = new OfflineAudioContext(1, length, rate);
    for (const r of list) {
      const buffer = offline.createBuffer(1, r.samples.length, rate);
      buffer.copyToChannel(r.samples, 0);
      const source = offline.createBufferSource();
      source.buffer = buffer;
      source.connect(offline.destination);
      source.start(r.when - t0);
    }
    const rendered = (await offline.startRendering()).getChannelData(0);
    let sum = 0;
    let first = -1;
    let last = -1;
    for (let n = 0; n < rendered.length; ++n) {
      sum += rendered[n] * rendered[n];
      if (Math.abs(rendered[n]) > 1e-3) {
        if (first < 0) first = n;
        last = n;
      }
    }
    return {
      samples, sources: list.length, gapless, rate, stopped: list.filter((r) => r.stopped).length,
      endTime: expected, contextTime: context.currentTime,
      render: { length: rendered.length, rms: Math.sqrt(sum / rendered.length), first, last },
    };
  }, index);
}

export function ensureFolder(folder) {
  mkdirSync(folder, { recursive: true });
  return folder;
}
