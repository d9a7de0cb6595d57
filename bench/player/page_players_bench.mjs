// What a page with many players costs a visitor before anyone presses Play,
// and after one clip has played: in headless Chromium (its heap figures),
// a page of 30 two-button players made by the system and served by
// `webhost preview`. Prints the JavaScript heap of the page with and
// without the player, the clips and decoders fetched, the audio contexts
// made, and the timers the player leaves running.
//
//   node bench/player/page_players_bench.mjs [--build DIR] [--players N]
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import { launchBrowser } from '../../tests/player/browsers.mjs';
import { cutWav, startPreview, writePage } from '../../tests/player/browser_support.mjs';
import { options } from '../../tests/player/requirements.mjs';
import { TestServer } from '../../tests/player/test_server.mjs';

const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../..');
const args = { build: path.join(root, 'build'), players: '30', ...options() };
const zvsa = path.join(args.build, 'bin/zvsa');
const count = Number(args.players);
const work = mkdtempSync(path.join(os.tmpdir(), 'zv-page-bench-'));
const web = path.join(work, 'web');
execFileSync('mkdir', ['-p', web]);
cutWav(path.join(root, 'data/speech-sample.wav'), path.join(work, 'clip.wav'), 2);
execFileSync(zvsa, ['encode', path.join(work, 'clip.wav'), '-o', path.join(web, 'speech.zvsa'), '--codec', 'speech', '-q']);
writePage(zvsa, path.join(web, 'players.htm'), 'Players', Array.from({ length: count }, () => (
  { clip: 'speech.zvsa', args: ['--buttons', '2'] })));
// The same page without the player's script, for the page's own cost.
writeFileSync(path.join(web, 'bare.htm'), `<!DOCTYPE html><html><head><title>Bare</title></head><body>${
  Array.from({ length: count }, (_, i) => `<p>clip ${i}</p>`).join('')}</body></html>`);

const preview = await startPreview(path.join(args.build, 'bin/webhost'), web);
const server = await new TestServer(preview.url).listen();
const browser = await launchBrowser('chromium', { npm: path.join(root, 'tests/player'), chromium: '/usr/bin/chromium' },
  { allowAutoplay: true });

// Counts the timers a page has running, by wrapping setTimeout and
// setInterval before the page's scripts.
const timerCounter = `(() => {
  let live = 0;
  const wrap = (setName, clearName, once) => {
    const set = window[setName].bind(window);
    const clear = window[clearName].bind(window);
    const ids = new Set();
    window[setName] = (fn, ...rest) => {
      const id = set((...a) => {
        if (once && ids.delete(id)) live--;
        if (typeof fn === 'function') fn(...a);
      }, ...rest);
      ids.add(id);
      live++;
      return id;
    };
    window[clearName] = (id) => {
      if (ids.delete(id)) live--;
      clear(id);
    };
  };
  wrap('setTimeout', 'clearTimeout', true);
  wrap('setInterval', 'clearInterval', false);
  window.__zvLiveTimers = () => live;
})();`;
server.extraScripts.set('players.htm', timerCounter);

async function heapOf(page) {
  return page.evaluate(async () => {
    if (window.gc) window.gc();
    return performance.memory ? performance.memory.usedJSHeapSize : NaN;
  });
}

const mib = (bytes) => `${(bytes / 1048576).toFixed(2)} MiB`;
try {
  const bare = await browser.newPage(`${server.url}bare.htm`);
  const bareHeap = await heapOf(bare);
  const page = await browser.newPage(`${server.url}players.htm`);
  await page.waitFor((n) => window.ZvStreamPlayer && window.ZvStreamPlayer.players.length === n, count, 'the players');
  const loadedHeap = await heapOf(page);
  const before = {
    clips: server.requested('speech.zvsa'),
    decoders: server.requested('Java/ZvTavelwork/QV80W.wasm'),
    contexts: await page.evaluate(() => (window.ZvStreamPlayer.players[0].context ? 1 : 0)),
    timers: await page.evaluate(() => window.__zvLiveTimers()),
  };
  await page.click('#player-3 button[aria-label="Play"]');
  await page.waitFor(() => window.ZvStreamPlayer.players[3].state === 'stopped' &&
    window.ZvStreamPlayer.players[3].context.state === 'suspended', null, 'the clip to end');
  const playedHeap = await heapOf(page);
  const after = {
    clips: server.requested('speech.zvsa'),
    timers: await page.evaluate(() => window.__zvLiveTimers()),
  };
  console.log(`page of ${count} players, Chromium:`);
  console.log(`  JavaScript heap, page without the player  ${mib(bareHeap)}`);
  console.log(`  JavaScript heap, ${count} players taken over   ${mib(loadedHeap)} (+${mib(loadedHeap - bareHeap)})`);
  console.log(`  after one 2 s clip has played        ${mib(playedHeap)} (+${mib(playedHeap - bareHeap)})`);
  console.log(`  on load: ${before.clips} clips and ${before.decoders} decoders fetched, ${before.contexts} audio contexts, ` +
    `${before.timers} timers running`);
  console.log(`  after the clip: ${after.clips} clip fetched, ${after.timers} timers running`);
} finally {
  await browser.close();
  await server.close();
  await preview.stop();
  rmSync(work, { recursive: true, force: true });
}
