// The web player in headless Chromium, on pages made by the system and
// served by `webhost preview`. Each run takes one scenario (--only NAME):
//
//   published   a published page with a visible and an invisible player:
//               the markup is taken over, the invisible one plays by itself,
//               the visible one from its Play button; what reaches Web Audio
//               is the native decoder's output sample for sample, and an
//               OfflineAudioContext renders it as sound of the clip's length
//   buttons     the one-, two- and three-button layouts from mouse and
//               keyboard: names, tab order, play, pause, stop
//   count       Count 2 with Autoplay plays the clip twice, back to back
//   held        Autoplay where the browser holds sound back until the
//               visitor's first interaction (Chromium's default): silent
//               until then; the first press of a player's own button plays
//               it (it does not stop it) and lets the other player play too
//   broken      a damaged and a missing clip show the element's body text
//               and log the reason
//   trickle     playback begins while the server is still sending the clip
//
//   node browser_test.mjs --only NAME --chromium PATH --npm DIR --player DIR
//        --webhost PATH --zvsa PATH --sample WAV --work DIR
import test from 'node:test';
import assert from 'node:assert/strict';
import { copyFileSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import http from 'node:http';
import path from 'node:path';

import { options } from './requirements.mjs';
import {
  audioRecorder, browserTestOptions, cutWav, ensureFolder, launchChromium, nativeSamples, recordedAudio,
  startPreview, writePage,
} from './browser_support.mjs';

const args = browserTestOptions(options());
const work = mkdtempSync(path.join(ensureFolder(args.work), `browser-${args.only}-`));
const web = ensureFolder(path.join(work, 'web'));

// The clips: 1.2 s of the built-in sample with each codec, and a copy of the
// speech clip whose header check word is spoiled.
const sample = path.join(work, 'sample.wav');
cutWav(args.sample, sample, 1.2);
const clips = {};
for (const codec of ['speech', 'music']) {
  const clip = path.join(web, `${codec}.zvsa`);
  const { execFileSync } = await import('node:child_process');
  execFileSync(args.zvsa, ['encode', sample, '-o', clip, '--codec', codec, '-q']);
  clips[codec] = { file: clip, samples: nativeSamples(args.zvsa, clip) };
}
const damaged = readFileSync(clips.speech.file);
damaged[150] ^= 0x40;
writeFileSync(path.join(web, 'damaged.zvsa'), damaged);

const body = (text) => ['--body', text];
writePage(args.zvsa, path.join(web, 'published.htm'), 'Published', [
  { clip: 'speech.zvsa', args: ['--buttons', '3', '--height', '30', '--width', '120', ...body('Speech needs Java')] },
  { clip: 'music.zvsa', args: ['--visible', '0', '--autoplay', '1', '--tag', 'OBJECT', ...body('Music needs Java')] },
]);
writePage(args.zvsa, path.join(web, 'buttons.htm'), 'Buttons', [1, 2, 3].map((n) => (
  { clip: 'speech.zvsa', args: ['--buttons', String(n), '--count', '-1'] })));
writePage(args.zvsa, path.join(web, 'count.htm'), 'Count', [
  { clip: 'music.zvsa', args: ['--autoplay', '1', '--count', '2'] }]);
writePage(args.zvsa, path.join(web, 'held.htm'), 'Held', [
  { clip: 'speech.zvsa', args: ['--autoplay', '1', '--buttons', '1'] },
  { clip: 'music.zvsa', args: ['--autoplay', '1', '--buttons', '2'] }]);
writePage(args.zvsa, path.join(web, 'broken.htm'), 'Broken', [
  { clip: 'damaged.zvsa', args: ['--autoplay', '1', ...body('Damaged clip, no sound')] },
  { clip: 'missing.zvsa', args: ['--tag', 'OBJECT', ...body('Missing clip, no sound')] }]);
writePage(args.zvsa, path.join(web, 'trickle.htm'), 'Trickle', [
  { clip: 'speech.zvsa', args: ['--autoplay', '1'] }]);

const preview = await startPreview(args.webhost, web);
const browser = await launchChromium(args, { allowAutoplay: args.only !== 'held' });

// A fresh page with the audio recorder, its console errors collected.
// With `untouched`, the test does not look into the page until it has read
// `report`'s console message: every evaluation by playwright counts as a
// user gesture, which would let the page's sound go.
async function openPage(url, { untouched = false, report = null } = {}) {
  const context = await browser.newContext();
  await context.addInitScript(audioRecorder());
  if (report) await context.addInitScript(report);
  const page = await context.newPage();
  const errors = [];
  const logs = [];
  page.on('console', (message) => {
    if (message.type() === 'log') logs.push(message.text());
    // The browser's own request for a site icon is no concern of the page.
    if (message.type() !== 'error' || message.location().url.endsWith('/favicon.ico')) return;
    errors.push(`${message.text()} (${message.location().url})`);
  });
  page.on('pageerror', (error) => errors.push(`uncaught: ${error.message}`));
  await page.goto(url);
  if (!untouched) await page.waitForFunction(() => window.ZvStreamPlayer && window.ZvStreamPlayer.players.length > 0);
  // The first console message that begins with `prefix`, without the prefix.
  const logged = async (prefix) => {
    for (;;) {
      const line = logs.find((text) => text.startsWith(prefix));
      if (line) return line.slice(prefix.length);
      await page.waitForEvent('console', { timeout: 20000 });
    }
  };
  return { page, errors, logged, close: () => context.close() };
}

// Waits until player `index` has played and stopped again.
async function playedThrough(page, index) {
  await page.waitForFunction((i) => {
    const player = window.ZvStreamPlayer.players[i];
    return player.state === 'stopped' && window.__zvAudio.some((r) => r.context === player.context);
  }, index, { timeout: 20000 });
}

const repeat = (samples, times) => Array.from({ length: times }, () => samples).flat();

// What reached Web Audio is the clip as the native decoder decodes it, and
// renders to sound of that length. With `late`, data may have come later
// than its time (the player then goes on after a pause), so the sound may
// take longer.
function assertPlayed(audio, samples, what, { late = false } = {}) {
  assert.ok(audio.sources > 0, `${what}: nothing was started`);
  assert.equal(audio.samples.length, samples.length, `${what}: sample count`);
  assert.ok(audio.samples.every((x, n) => x === samples[n]), `${what}: samples differ from the native decoder's`);
  if (!late) {
    assert.ok(audio.gapless, `${what}: the buffers do not follow each other`);
    assert.equal(audio.render.length, samples.length, `${what}: rendered length`);
  }
  assert.ok(audio.render.rms > 0.01, `${what}: rendered sound is silent (RMS ${audio.render.rms})`);
  assert.ok(audio.render.first < audio.rate * 0.2 && audio.render.last > samples.length - audio.rate * 0.2,
    `${what}: the sound does not span the clip (${audio.render.first}..${audio.render.last})`);
  assert.ok(audio.contextTime >= audio.endTime, `${what}: playback ended before the audio did`);
}

const scenarios = {
  async published() {
    const { page, errors, close } = await openPage(`${preview.url}published.htm`);
    try {
      const scripts = await page.locator('script').evaluateAll((all) => all.map((s) => s.getAttribute('src')));
      assert.deepEqual(scripts, ['/Java/ZvTavelwork/ZvStreamPlayer.js'], 'one player script, from the class folder');
      assert.equal(await page.locator('applet, object').count(), 0, 'the applet markup is taken over');

      // The visible player: a group of three buttons, of the element's size.
      const group = page.getByRole('group', { name: 'Sound clip speech.zvsa' });
      const box = await group.boundingBox();
      assert.deepEqual([Math.round(box.width), Math.round(box.height)], [120, 30]);
      const names = await group.getByRole('button').evaluateAll((b) => b.map((e) => e.getAttribute('aria-label')));
      assert.deepEqual(names, ['Play', 'Pause', 'Stop']);

      // The invisible one shows nothing and plays by itself, the whole clip.
      const invisible = page.locator('.zv-stream-player[data-clip="music.zvsa"]');
      assert.equal(await invisible.isVisible(), false);
      assert.equal(await page.getByText('Music needs Java').count(), 0);
      await playedThrough(page, 1);
      assertPlayed(await recordedAudio(page, 1), clips.music.samples, 'invisible music player');
      // The context runs at the clip's rate, so the samples reach the
      // output as they are (the browser resamples once, for the device).
      assert.equal(await page.evaluate(() => window.ZvStreamPlayer.players[1].context.sampleRate), 8000);

      // The visible one plays when its Play button is clicked.
      assert.equal((await recordedAudio(page, 0)).sources, 0, 'the visible player waits for Play');
      await group.getByRole('button', { name: 'Play' }).click();
      await playedThrough(page, 0);
      assertPlayed(await recordedAudio(page, 0), clips.speech.samples, 'visible speech player');
      assert.deepEqual(errors, []);
    } finally {
      await close();
    }
  },

  async buttons() {
    const { page, errors, close } = await openPage(`${preview.url}buttons.htm`);
    try {
      const groups = page.getByRole('group');
      assert.equal(await groups.count(), 3);
      const layouts = [['Play'], ['Play', 'Stop'], ['Play', 'Pause', 'Stop']];
      for (let i = 0; i < 3; ++i) {
        const names = await groups.nth(i).getByRole('button').evaluateAll((b) => b.map((e) => e.getAttribute('aria-label')));
        assert.deepEqual(names, layouts[i], `layout of player ${i + 1}`);
      }
      // Every button is reached with Tab, in page order.
      const reached = [];
      for (let n = 0; n < 6; ++n) {
        await page.keyboard.press('Tab');
        reached.push(await page.evaluate(() => document.activeElement.getAttribute('aria-label')));
      }
      assert.deepEqual(reached, layouts.flat());

      const state = (i) => page.evaluate((n) => window.ZvStreamPlayer.players[n].state, i);
      const started = async (i) => (await recordedAudio(page, i)).sources;
      const waitState = (i, s) => page.waitForFunction(([n, want]) => window.ZvStreamPlayer.players[n].state === want, [i, s]);
      const waitStarted = (i, count) => page.waitForFunction(([n, c]) => {
        const context = window.ZvStreamPlayer.players[n].context;
        return window.__zvAudio.filter((r) => r.context === context).length >= c;
      }, [i, count]);
      const allStopped = async (i) => {
        const audio = await recordedAudio(page, i);
        return audio.stopped === audio.sources;
      };

      // One button: Play turns into Stop and back, by mouse, then by keyboard.
      const single = groups.nth(0).getByRole('button');
      await single.click();
      await waitState(0, 'playing');
      await waitStarted(0, 1);
      assert.equal(await single.getAttribute('aria-label'), 'Stop');
      await single.click();
      await waitState(0, 'stopped');
      assert.equal(await single.getAttribute('aria-label'), 'Play');
      assert.ok(await allStopped(0), 'Stop silences every buffer');
      await single.focus();
      await page.keyboard.press('Enter');
      await waitState(0, 'playing');
      await page.keyboard.press('Space');
      await waitState(0, 'stopped');

      // Two buttons: Play and Stop, by keyboard, then by mouse.
      await groups.nth(1).getByRole('button', { name: 'Play' }).focus();
      await page.keyboard.press('Space');
      await waitState(1, 'playing');
      await waitStarted(1, 1);
      await page.keyboard.press('Tab');
      await page.keyboard.press('Enter');
      await waitState(1, 'stopped');
      assert.ok(await allStopped(1));
      await groups.nth(1).getByRole('button', { name: 'Play' }).click();
      await waitState(1, 'playing');
      await groups.nth(1).getByRole('button', { name: 'Stop' }).click();
      await waitState(1, 'stopped');

      // Three buttons: Pause holds the sound, Play goes on, Stop ends it.
      const three = groups.nth(2);
      await three.getByRole('button', { name: 'Play' }).click();
      await waitState(2, 'playing');
      await waitStarted(2, 1);
      await three.getByRole('button', { name: 'Pause' }).click();
      await waitState(2, 'paused');
      await page.waitForFunction(() => window.ZvStreamPlayer.players[2].context.state === 'suspended');
      const before = await started(2);
      await three.getByRole('button', { name: 'Play' }).focus();
      await page.keyboard.press('Enter');
      await waitState(2, 'playing');
      await page.waitForFunction(() => window.ZvStreamPlayer.players[2].context.state === 'running');
      assert.ok(await started(2) >= before, 'Play after Pause goes on where it was');
      await three.getByRole('button', { name: 'Stop' }).focus();
      await page.keyboard.press('Space');
      await waitState(2, 'stopped');
      assert.ok(await allStopped(2));
      assert.equal(await state(0), 'stopped');
      assert.deepEqual(errors, []);
    } finally {
      await close();
    }
  },

  async count() {
    const { page, errors, close } = await openPage(`${preview.url}count.htm`);
    try {
      await playedThrough(page, 0);
      assertPlayed(await recordedAudio(page, 0), repeat(clips.music.samples, 2), 'Count 2');
      assert.deepEqual(errors, []);
    } finally {
      await close();
    }
  },

  async held() {
    // The page reports, a while after Autoplay has started both players with
    // their clips loaded, what the browser does with their sound.
    const report = `(() => {
      const timer = setInterval(() => {
        const players = window.ZvStreamPlayer ? window.ZvStreamPlayer.players : [];
        if (players.length < 2 || !players.every((p) => p.state === 'playing' && p.clip.complete)) return;
        clearInterval(timer);
        setTimeout(() => console.log('held: ' + JSON.stringify({
          contexts: players.map((p) => ({ state: p.context.state, time: p.context.currentTime })),
          label: document.querySelector('.zv-stream-player button').getAttribute('aria-label'),
        })), 300);
      }, 50);
    })();`;
    const { page, errors, logged, close } = await openPage(`${preview.url}held.htm`, { untouched: true, report });
    try {
      const held = JSON.parse(await logged('held: '));
      assert.deepEqual(held.contexts, [{ state: 'suspended', time: 0 }, { state: 'suspended', time: 0 }]);
      assert.equal(held.label, 'Play', 'nothing is heard, so the one button offers Play');
      const single = page.getByRole('group').nth(0).getByRole('button');
      // The first interaction, on that button, lets it play; the other
      // player is let go by the same interaction. Both play the whole clip.
      await single.click();
      await page.waitForFunction(() => window.ZvStreamPlayer.players[0].context.state === 'running');
      assert.equal(await single.getAttribute('aria-label'), 'Stop');
      await playedThrough(page, 0);
      await playedThrough(page, 1);
      assertPlayed(await recordedAudio(page, 0), clips.speech.samples, 'held autoplay, own button');
      assertPlayed(await recordedAudio(page, 1), clips.music.samples, 'held autoplay, other player');
      assert.deepEqual(errors, []);
    } finally {
      await close();
    }
  },

  async broken() {
    const { page, errors, close } = await openPage(`${preview.url}broken.htm`);
    try {
      await page.waitForFunction(() => window.ZvStreamPlayer.players.every((p) => p.state === 'failed'));
      for (const text of ['Damaged clip, no sound', 'Missing clip, no sound']) {
        assert.ok(await page.getByText(text).isVisible(), `"${text}" is shown`);
      }
      assert.equal(await page.getByRole('button').count(), 0);
      assert.ok(errors.some((e) => e.includes('damaged.zvsa') && e.includes('check word is wrong')), errors.join('\n'));
      assert.ok(errors.some((e) => e.includes('missing.zvsa') && e.includes('HTTP 404')), errors.join('\n'));
      assert.equal((await recordedAudio(page, 0)).sources, 0);
    } finally {
      await close();
    }
  },

  async trickle() {
    // In front of webhost preview: the clip comes in pieces, and its last
    // part only once the page has started playing.
    let sent = 0;
    let total = 0;
    let release;
    const released = new Promise((resolve) => { release = resolve; });
    const server = http.createServer(async (request, response) => {
      const upstream = await fetch(preview.url + request.url.slice(1));
      const bytes = Buffer.from(await upstream.arrayBuffer());
      response.writeHead(upstream.status, { 'Content-Type': upstream.headers.get('Content-Type') || '' });
      if (!request.url.endsWith('.zvsa')) {
        response.end(bytes);
        return;
      }
      total = bytes.length;
      const early = Math.min(bytes.length - 100, 154 + 20 * 25);  // the header and half a second
      for (let at = 0; at < early; at += 97) {
        response.write(bytes.subarray(at, Math.min(early, at + 97)));
        sent = Math.min(early, at + 97);
        await new Promise((resolve) => setTimeout(resolve, 20));
      }
      await released;
      response.end(bytes.subarray(early));
      sent = bytes.length;
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    const { page, errors, close } = await openPage(`http://127.0.0.1:${server.address().port}/trickle.htm`);
    try {
      await page.waitForFunction(() => window.__zvAudio.length > 0 &&
        window.__zvAudio[0].context.currentTime > window.__zvAudio[0].when);
      assert.ok(sent < total, `playback began after the whole clip was sent (${sent} of ${total})`);
      release();
      await playedThrough(page, 0);
      assertPlayed(await recordedAudio(page, 0), clips.speech.samples, 'trickled clip', { late: true });
      assert.deepEqual(errors, []);
    } finally {
      release();
      await close();
      server.close();
    }
  },
};

test(`player in Chromium: ${args.only}`, async () => {
  const scenario = scenarios[args.only];
  assert.ok(scenario, `unknown scenario ${args.only}`);
  try {
    await scenario();
  } finally {
    await browser.close();
    const { code } = await preview.stop();
    rmSync(work, { recursive: true, force: true });
    assert.equal(code, 0, 'webhost preview stops cleanly');
  }
});
