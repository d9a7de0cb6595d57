// The web player in a browser engine (--engine chromium, firefox or
// webkit), on pages made by the system, served by `webhost preview` behind
// the tests' own server (test_server.mjs), which hears what each player
// sends to Web Audio (page_tap.js) and can make the network stall, trickle
// or break. Each run takes one scenario (--only NAME):
//
//   published    a published page with a visible and an invisible player:
//                the markup is taken over, the invisible one plays by itself,
//                the visible one from its Play button, each heard as the
//                native decoder's output, sample for sample, unbroken
//   buttons      the one-, two- and three-button layouts from mouse and
//                keyboard: names, tab order, play, pause, stop; Play after
//                Pause goes on from where it was
//   count        Count 2 with Autoplay plays the clip twice, back to back
//   lowspeech    a clip of the 4800 bit/s codec, Count 2: its decoder chosen by the
//                header's identifier, both passes as the native decoder gives them
//   held         Autoplay where the browser holds sound back until the
//                visitor's first interaction: silent until then; the first
//                press of a player's own button plays it (it does not stop
//                it) and lets the other player play too
//   broken       a damaged and a missing clip, and a clip whose decoder is
//                missing, show the element's body text and log the reason;
//                a decoder served with another media type still plays
//   trickle      the clip arrives at half the speed it plays: the player
//                buffers, and every sample is heard
//   stall-early  the download pauses after 0.3 s of a 3 s clip until the
//                player is buffering, then goes on: every sample heard
//   stall-middle the same after 1.5 s
//   reset        the connection is reset half way: what came is heard,
//                the reason logged, the player stopped, not failed
//   pause-stall  Pause during a stall, Play after the rest has come
//   count-stall  Count 2 across a stall
//   lazy         30 players on a page: nothing is fetched and no audio
//                context made until Play; the context rests after the end
//   exclusive    Play on one player pauses the other; players whose
//                Exclusive PARAM is "no" play side by side; the Media
//                Session shows the clip (where the engine has it)
//   seek         the position slider: its role and value text, moved by
//                keyboard and by click; what is heard after a seek is the
//                clip from there
//   added        a player element the page adds after load is taken over
//                and plays, and tells the page of play and ended
//   element      <zv-stream-player> as `zvsa markup --element` writes it:
//                plays from the keyboard; shows its content for a damaged clip
//
//   node browser_test.mjs --engine E --only NAME --chromium PATH --firefox PATH
//        --webkitdriver PATH --npm DIR --player DIR --playerlist HEADER
//        --webhost PATH --zvsa PATH --sample WAV --work DIR [--artifacts DIR]
import test from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import path from 'node:path';

import { launchBrowser } from './browsers.mjs';
import {
  assertHeard, browserTestOptions, cutWav, ensureFolder, heard, nativeSamples, repeat, startPreview, waitHeard,
  writePage,
} from './browser_support.mjs';
import { options } from './requirements.mjs';
import { TestServer, speechBytes } from './test_server.mjs';

const args = browserTestOptions(options());
const engine = args.engine;
const work = mkdtempSync(path.join(ensureFolder(args.work), `browser-${engine}-${args.only}-`));
const web = ensureFolder(path.join(work, 'web'));

// The clips: 1.2 s of the built-in sample with each of the three codecs, 3 s with the
// speech codec, a copy of the short speech clip whose header check word is
// spoiled and one that ends before its header says.
const clips = {};
for (const [name, codec, seconds] of [['speech', 'speech', 1.2], ['music', 'music', 1.2], ['long', 'speech', 3],
  ['lowspeech', 'lowspeech', 1.2]]) {
  const sample = path.join(work, `${name}.wav`);
  cutWav(args.sample, sample, seconds);
  const clip = path.join(web, `${name}.zvsa`);
  execFileSync(args.zvsa, ['encode', sample, '-o', clip, '--codec', codec, '-q']);
  clips[name] = { file: clip, samples: nativeSamples(args.zvsa, clip) };
}
const speechClip = readFileSync(clips.speech.file);
const damaged = Buffer.from(speechClip);
damaged[150] ^= 0x40;
writeFileSync(path.join(web, 'damaged.zvsa'), damaged);
writeFileSync(path.join(web, 'short.zvsa'), speechClip.subarray(0, speechBytes(30)));

const body = (text) => ['--body', text];
const pages = {
  published: [
    { clip: 'speech.zvsa', args: ['--buttons', '3', '--height', '30', '--width', '120', ...body('Speech needs Java')] },
    { clip: 'music.zvsa', args: ['--visible', '0', '--autoplay', '1', '--tag', 'OBJECT', ...body('Music needs Java')] }],
  buttons: [1, 2, 3].map((n) => ({ clip: 'speech.zvsa', args: ['--buttons', String(n), '--count', '-1'] })),
  count: [{ clip: 'music.zvsa', args: ['--autoplay', '1', '--count', '2'] }],
  lowspeech: [{ clip: 'lowspeech.zvsa', args: ['--autoplay', '1', '--count', '2'] }],
  held: [
    { clip: 'speech.zvsa', args: ['--autoplay', '1', '--buttons', '1'] },
    { clip: 'music.zvsa', args: ['--autoplay', '1', '--buttons', '2'] }],
  broken: [
    { clip: 'damaged.zvsa', args: ['--autoplay', '1', ...body('Damaged clip, no sound')] },
    { clip: 'missing.zvsa', args: ['--tag', 'OBJECT', ...body('Missing clip, no sound')] },
    { clip: 'music.zvsa', args: ['--autoplay', '1', ...body('Music without its decoder')] },
    { clip: 'short.zvsa', args: ['--autoplay', '1', ...body('Short clip')] }],
  trickle: [{ clip: 'long.zvsa', args: ['--autoplay', '1'] }],
  'stall-early': [{ clip: 'long.zvsa', args: ['--autoplay', '1'] }],
  'stall-middle': [{ clip: 'long.zvsa', args: ['--autoplay', '1'] }],
  reset: [{ clip: 'long.zvsa', args: ['--autoplay', '1', ...body('Reset clip')] }],
  'pause-stall': [{ clip: 'long.zvsa', args: ['--buttons', '3'] }],
  'count-stall': [{ clip: 'long.zvsa', args: ['--autoplay', '1', '--count', '2'] }],
  lazy: Array.from({ length: 30 }, () => ({ clip: 'speech.zvsa', args: ['--buttons', '2'] })),
  exclusive: [0, 1, 2, 3].map(() => ({ clip: 'long.zvsa', args: ['--buttons', '2'] })),
  seek: [{ clip: 'long.zvsa', args: ['--buttons', '3', '--width', '220', '--height', '40'] }],
  added: [{ clip: 'speech.zvsa', args: ['--buttons', '2'] }],
  element: [],
};
assert.ok(pages[args.only], `unknown scenario ${args.only}`);
writePage(args.zvsa, path.join(web, `${args.only}.htm`), args.only, pages[args.only]);
if (args.only === 'element') {
  const element = (clip, ...more) => execFileSync(args.zvsa, ['markup', clip, '--element', ...more],
    { encoding: 'latin1' });
  writeFileSync(path.join(web, 'element.htm'), '<!DOCTYPE html>\r\n<html><head><title>element</title></head><body>\r\n' +
    `<div id="player-0">${element('speech.zvsa', '--body', 'Speech cannot play')}</div>\r\n` +
    `<div id="player-1">${element('damaged.zvsa', '--autoplay', '1', '--body', 'Damaged clip shown as text')}</div>\r\n` +
    element('speech.zvsa', '--player', '/Java/ZvTavelwork/').split('\n')[1] + '\r\n</body></html>\r\n', 'latin1');
}
if (args.only === 'exclusive') {
  // Markup pasted by hand, as `zvsa markup` prints it, where the last two
  // players say they may play beside others: a PARAM that authors add
  // themselves (the system's markup does not write it).
  let body = '';
  for (let n = 0; n < 4; ++n) {
    let markup = execFileSync(args.zvsa, ['markup', 'long.zvsa', '--buttons', '2'], { encoding: 'latin1' });
    if (n >= 2) markup = markup.replace(/(<param[^>]*>)/i, '$1<PARAM NAME="Exclusive" VALUE="no">');
    body += `<div id="player-${n}">${markup}</div>\r\n`;
  }
  const script = execFileSync(args.zvsa, ['markup', 'long.zvsa', '--player', '/Java/ZvTavelwork/ZvStreamPlayer.js'],
    { encoding: 'latin1' }).match(/<script[^>]*><\/script>/)[0];
  writeFileSync(path.join(web, 'exclusive.htm'),
    `<!DOCTYPE html>\r\n<html><head><title>exclusive</title></head><body>\r\n${body}${script}\r\n</body></html>\r\n`,
    'latin1');
}

const preview = await startPreview(args.webhost, web);
const server = await new TestServer(preview.url).listen();
const browser = await launchBrowser(engine, args, { allowAutoplay: args.only !== 'held' });

async function openPage(name, { untouched = false } = {}) {
  const page = await browser.newPage(`${server.url}${name}.htm`);
  if (!untouched) await page.waitFor(() => window.ZvStreamPlayer && window.ZvStreamPlayer.players.length > 0, null, 'the player');
  page.errors = async () => (await page.evaluate(() => window.__zvConsole))
    .filter((line) => line.level === 'error').map((line) => line.text);
  page.state = (i) => page.evaluate((n) => window.ZvStreamPlayer.players[n].state, i);
  page.waitState = (i, state) => page.waitFor(([n, s]) => window.ZvStreamPlayer.players[n].state === s, [i, state],
    `player ${i} ${state}`);
  // Until player i has shown `states` in this order (others between).
  page.waitShown = (i, states) => page.waitFor(([n, wanted]) => {
    let next = 0;
    for (const s of window.__zvStatesShown(window.ZvStreamPlayer.players[n].view.root)) if (s === wanted[next]) ++next;
    return next === wanted.length;
  }, [i, states], `player ${i} to show ${states.join(', then ')}`)
    .catch(async (error) => {
      const shown = await page.evaluate((n) => window.__zvStatesShown(window.ZvStreamPlayer.players[n].view.root), i);
      throw new Error(`${error.message} (it showed ${shown.join(', ')})`);
    });
  page.label = (css) => page.evaluate((c) => document.querySelector(c).getAttribute('aria-label'), css);
  return page;
}

const button = (player, name) => `#player-${player} button[aria-label="${name}"]`;
const group = (player) => `#player-${player} .zv-stream-player`;

async function snapshot(page, name) {
  if (!args.artifacts) return;
  await page.screenshot(path.join(ensureFolder(path.join(args.artifacts, 'player')), `${engine}-${name}.png`));
}

// A download that sends `first` bytes at once, then waits for `release`
// before it sends the rest.
function stallAfter(first) {
  let release;
  const released = new Promise((resolve) => { release = resolve; });
  return {
    release: () => release(),
    plan: async (bytes, delivery) => {
      await delivery.send(bytes.subarray(0, first));
      await released;
      await delivery.end(bytes.subarray(first));
    },
  };
}

async function playedWhole(page, index, expected, what, options) {
  await page.waitState(index, 'stopped');
  const { samples } = await waitHeard(page, index, expected, what);
  assertHeard(samples, expected, what, options);
}

// Stalls the long clip after `frames` frames until the player buffers.
async function stallScenario(frames) {
  const stall = stallAfter(speechBytes(frames));
  server.plans.set('long.zvsa', stall.plan);
  const page = await openPage(args.only);
  await page.waitState(0, 'buffering');
  assert.equal(await page.evaluate(() => document.querySelector('.zv-stream-player').getAttribute('aria-busy')), 'true',
    'a buffering player says it is busy');
  await snapshot(page, 'buffering');
  stall.release();
  await playedWhole(page, 0, clips.long.samples, `clip stalled after ${frames} frames`);
  assert.deepEqual(await page.errors(), []);
}

const scenarios = {
  async published() {
    const page = await openPage('published');
    const scripts = await page.evaluate(() => [...document.scripts].map((s) => s.getAttribute('src')).filter(Boolean));
    assert.deepEqual(scripts, ['/__zv_tap.js', '/Java/ZvTavelwork/ZvStreamPlayer.js'], 'one player script, from the class folder');
    assert.equal(await page.evaluate(() => document.querySelectorAll('applet, object').length), 0, 'the markup is taken over');
    const box = await page.evaluate((css) => {
      const r = document.querySelector(css).getBoundingClientRect();
      return [Math.round(r.width), Math.round(r.height)];
    }, group(0));
    assert.deepEqual(box, [120, 30]);
    assert.equal(await page.evaluate((css) => document.querySelector(css).getAttribute('aria-label'), group(0)),
      'Sound clip speech.zvsa');
    const names = await page.evaluate((css) => [...document.querySelectorAll(`${css} button`)]
      .map((b) => b.getAttribute('aria-label')), group(0));
    assert.deepEqual(names, ['Play', 'Pause', 'Stop']);
    await snapshot(page, 'three-buttons');

    // The invisible one shows nothing and plays by itself, the whole clip.
    assert.equal(await page.evaluate((css) => document.querySelector(css).hidden, group(1)), true);
    assert.equal(await page.evaluate(() => document.body.innerText.includes('Music needs Java')), false);
    await playedWhole(page, 1, clips.music.samples, 'invisible music player', { gapless: true });
    assert.equal(await page.evaluate(() => window.ZvStreamPlayer.players[1].context.sampleRate), 8000,
      'the context runs at the clip rate');

    // The visible one waits for Play, then plays.
    assert.equal(await page.evaluate(() => window.ZvStreamPlayer.players[0].clip), null, 'nothing fetched before Play');
    await page.click(button(0, 'Play'));
    await playedWhole(page, 0, clips.speech.samples, 'visible speech player', { gapless: true });
    assert.ok(await page.evaluate(() => window.ZvStreamPlayer.players[0].context === window.ZvStreamPlayer.players[1].context),
      'one audio context for the page');
    assert.deepEqual(await page.errors(), []);
  },

  async buttons() {
    const page = await openPage('buttons');
    const layouts = [['Play'], ['Play', 'Stop'], ['Play', 'Pause', 'Stop']];
    for (let i = 0; i < 3; ++i) {
      const names = await page.evaluate((css) => [...document.querySelectorAll(`${css} button`)]
        .map((b) => b.getAttribute('aria-label')), group(i));
      assert.deepEqual(names, layouts[i], `layout of player ${i + 1}`);
    }
    // Every button and position slider is reached with Tab, in page order.
    const reached = [];
    for (let n = 0; n < 9; ++n) {
      await page.press('Tab');
      reached.push(await page.evaluate(() => document.activeElement.getAttribute('aria-label')));
    }
    assert.deepEqual(reached, layouts.flatMap((layout) => [...layout, 'Position']));
    const resting = () => page.waitFor(() => window.ZvStreamPlayer.players[0].context.state === 'suspended', null,
      'the audio context to rest when nothing plays');
    const sounding = (i) => page.waitFor((n) => window.ZvStreamPlayer.players[n].scheduler.pieces.length > 0, i,
      `player ${i} to hand sound over`);
    const silent = (i) => page.evaluate((n) => window.ZvStreamPlayer.players[n].scheduler.pieces.length === 0, i);

    // One button: Play turns into Stop and back, by mouse, then by keyboard.
    await page.click(button(0, 'Play'));
    await page.waitState(0, 'playing');
    await sounding(0);
    assert.equal(await page.label(`#player-0 button`), 'Stop');
    assert.deepEqual(await page.evaluate(() => {
      const status = document.querySelector('#player-0 [role="status"]');
      return [status.getAttribute('aria-live'), status.textContent];
    }), ['polite', 'Playing'], 'the new state is said once, politely');
    await snapshot(page, 'one-button-playing');
    await page.click(button(0, 'Stop'));
    await page.waitState(0, 'stopped');
    assert.equal(await page.label(`#player-0 button`), 'Play');
    assert.ok(await silent(0), 'Stop silences every piece');
    await resting();
    await page.focus('#player-0 button');
    await page.press('Enter');
    await page.waitState(0, 'playing');
    await page.press('Space');
    await page.waitState(0, 'stopped');

    // Two buttons: Play and Stop, by keyboard, then by mouse.
    await page.focus(button(1, 'Play'));
    await page.press('Space');
    await page.waitState(1, 'playing');
    await sounding(1);
    await page.press('Tab');
    await page.press('Enter');
    await page.waitState(1, 'stopped');
    assert.equal(await page.evaluate(() => document.activeElement.getAttribute('aria-label')), 'Stop');
    assert.ok(await silent(1));
    await page.click(button(1, 'Play'));
    await page.waitState(1, 'playing');
    await page.click(button(1, 'Stop'));
    await page.waitState(1, 'stopped');

    // Three buttons: Pause holds the sound, Play goes on from there (not
    // from the start), Stop ends it.
    await page.click(button(2, 'Play'));
    await page.waitState(2, 'playing');
    await page.waitFor(() => window.__zvHeard(window.ZvStreamPlayer.players[2].output).filter((x) => x).length > 2000,
      null, 'a quarter of a second heard');
    await page.click(button(2, 'Pause'));
    await page.waitState(2, 'paused');
    await snapshot(page, 'three-buttons-paused');
    await resting();
    const paused = await page.evaluate(() => {
      const { pass, sample } = window.ZvStreamPlayer.players[2].scheduler;
      return { pass, sample };
    });
    const clip = clips.speech.samples;
    const pausedAt = paused.pass * clip.length + paused.sample;
    await page.focus(button(2, 'Play'));
    await page.press('Enter');
    await page.waitState(2, 'playing');
    // A second of sound beyond the pause (the tap hears it late), so that
    // a Play that began anew would show.
    const heardToPause = repeat(clip, paused.pass + 1).slice(0, pausedAt).filter((x) => x !== 0).length;
    await page.waitFor((n) => window.__zvHeard(window.ZvStreamPlayer.players[2].output).filter((x) => x).length > n,
      heardToPause + 8000, 'a second heard beyond the pause');
    await page.focus(button(2, 'Stop'));
    await page.press('Space');
    await page.waitState(2, 'stopped');
    assert.ok(await silent(2));
    const { samples } = await heard(page, 2);
    const sounding3 = samples.filter((x) => x !== 0);
    assertHeard(sounding3, repeat(clip, paused.pass + 3).filter((x) => x !== 0).slice(0, sounding3.length),
      `Play after Pause at sample ${paused.sample} of pass ${paused.pass + 1} goes on from there`);
    await resting();
    assert.deepEqual(await page.errors(), []);
  },

  async count() {
    const page = await openPage('count');
    await playedWhole(page, 0, repeat(clips.music.samples, 2), 'Count 2', { gapless: true });
    assert.deepEqual(await page.errors(), []);
  },

  async lowspeech() {
    // The 4800 bit/s codec: the player picks its decoder by the header's
    // identifier, and both passes sound exactly as the native decoder's.
    const page = await openPage('lowspeech');
    await playedWhole(page, 0, repeat(clips.lowspeech.samples, 2), 'lowspeech, Count 2', { gapless: true });
    assert.deepEqual(await page.errors(), []);
  },

  async held() {
    // The page reports once both players want to play, with their clips
    // loaded, what the browser does with their sound. No script of the
    // test's touches the page until then: a driver's script can count as
    // the visitor's gesture.
    server.extraScripts.set('held.htm', `(() => {
      const check = () => {
        const players = window.ZvStreamPlayer ? window.ZvStreamPlayer.players : [];
        if (players.length < 2 || !players.every((p) => p.state === 'held' && p.clip && p.clip.complete)) return;
        clearInterval(timer);
        window.__zvReport('held', {
          context: { state: players[0].context.state, time: players[0].context.currentTime },
          states: players.map((p) => p.state),
          label: document.querySelector('.zv-stream-player button').getAttribute('aria-label'),
        });
      };
      const timer = setInterval(check, 50);
    })();`);
    const page = await openPage('held', { untouched: true });
    const held = await server.report('held');
    assert.deepEqual(held.context, { state: 'suspended', time: 0 });
    assert.deepEqual(held.states, ['held', 'held']);
    assert.equal(held.label, 'Play', 'nothing is heard, so the one button offers Play');
    await snapshot(page, 'held');
    // The first interaction, on that button, lets it play; the other
    // player is let go by the same interaction. Both play the whole clip.
    await page.click(button(0, 'Play'));
    await page.waitFor(() => window.ZvStreamPlayer.players[0].context.state === 'running', null, 'the context to run');
    assert.equal((await page.evaluate(() => window.__zvFirstInteraction)).contextTime, 0,
      'no sound went out before the visitor\'s first interaction');
    await playedWhole(page, 0, clips.speech.samples, 'held autoplay, own button', { gapless: true });
    await playedWhole(page, 1, clips.music.samples, 'held autoplay, other player', { gapless: true });
    assert.deepEqual(await page.errors(), []);
  },

  async broken() {
    // The music decoder is missing; the speech decoder comes with a
    // media type that forbids streaming compilation.
    server.overrides.set('/Java/ZvTavelwork/QV160MXW.wasm', { status: 404, type: 'text/html', body: 'not here' });
    const speechDecoder = readFileSync(path.join(args.player, 'QV80W.wasm'));
    server.overrides.set('/Java/ZvTavelwork/QV80W.wasm', { status: 200, type: 'application/octet-stream', body: speechDecoder });
    const page = await openPage('broken');
    await page.waitFor(() => [0, 2].every((i) => window.ZvStreamPlayer.players[i].state === 'failed'), null,
      'the damaged clip and the clip without its decoder to fail');
    // The missing one fails when it is played.
    for (const text of ['Damaged clip, no sound', 'Music without its decoder']) {
      assert.ok(await page.evaluate((t) => document.body.innerText.includes(t), text), `"${text}" is shown`);
    }
    await snapshot(page, 'failed');
    const errors = await page.errors();
    assert.ok(errors.some((e) => e.includes('damaged.zvsa') && e.includes('check word is wrong')), errors.join('\n'));
    assert.ok(errors.some((e) => e.includes('music.zvsa') && e.includes('QV160MXW') && e.includes('HTTP 404')), errors.join('\n'));
    // The short clip plays what it has, and says it is shorter.
    await playedWhole(page, 3, clips.speech.samples.slice(0, 30 * 160), 'short clip', { gapless: true });
    assert.ok((await page.evaluate(() => window.__zvConsole)).some((l) => l.level === 'warn' && l.text.includes('short.zvsa')));
    await page.click(button(1, 'Play'));
    await page.waitState(1, 'failed');
    assert.ok(await page.evaluate(() => document.body.innerText.includes('Missing clip, no sound')));
    assert.ok((await page.errors()).some((e) => e.includes('missing.zvsa') && e.includes('HTTP 404')));
    assert.equal(await page.evaluate(() => document.querySelectorAll('#player-0 button, #player-1 button, #player-2 button').length), 0);
  },

  async trickle() {
    // Half as fast as it plays: five frames (0.1 s) every 0.2 s, from when
    // the page may sound (a browser may take a while to start its audio).
    const start = stallAfter(speechBytes(5));
    server.plans.set('long.zvsa', async (bytes, delivery) => {
      await start.plan(bytes.subarray(0, speechBytes(5)), { send: delivery.send, end: async () => {} });
      for (let at = speechBytes(5); at < bytes.length; at += 100) {
        await new Promise((resolve) => setTimeout(resolve, 200));
        await delivery.send(bytes.subarray(at, Math.min(bytes.length, at + 100)));
      }
      await delivery.end();
    });
    const page = await openPage('trickle');
    await page.waitFor(() => window.ZvStreamPlayer.players[0].context.state === 'running', null, 'the page\'s audio');
    assert.ok(['loading', 'buffering'].includes(await page.state(0)), 'a tenth of a second is too little to start with');
    start.release();
    await page.waitShown(0, ['playing', 'buffering', 'playing']);
    assert.equal(server.requested('long.zvsa'), 1);
    await playedWhole(page, 0, clips.long.samples, 'trickled clip');
    assert.deepEqual(await page.errors(), []);
  },

  'stall-early': () => stallScenario(15),
  'stall-middle': () => stallScenario(75),

  async reset() {
    // The connection is reset once the page has the first part (a reset
    // sent with data in flight may take that data with it).
    const frames = 60;
    const stall = stallAfter(speechBytes(frames));
    server.plans.set('long.zvsa', async (bytes, delivery) => {
      await stall.plan(bytes, { send: delivery.send, end: async () => delivery.reset() });
    });
    const page = await openPage('reset');
    await page.waitState(0, 'playing');
    stall.release();
    await playedWhole(page, 0, clips.long.samples.slice(0, frames * 160), 'what came before the reset', { gapless: true });
    assert.ok((await page.errors()).some((e) => e.includes('long.zvsa')), 'the reason is logged');
    assert.ok(await page.evaluate(() => document.querySelector('#player-0 button') !== null), 'the player stays');
  },

  async 'pause-stall'() {
    const stall = stallAfter(speechBytes(15));
    server.plans.set('long.zvsa', stall.plan);
    const page = await openPage('pause-stall');
    await page.click(button(0, 'Play'));
    await page.waitState(0, 'buffering');
    await page.click(button(0, 'Pause'));
    await page.waitState(0, 'paused');
    stall.release();
    await page.waitFor(() => window.ZvStreamPlayer.players[0].clip.complete, null, 'the rest of the clip');
    assert.equal(await page.state(0), 'paused', 'data that comes during a pause does not end it');
    await page.click(button(0, 'Play'));
    await playedWhole(page, 0, clips.long.samples, 'Play after a pause during a stall');
    assert.deepEqual(await page.errors(), []);
  },

  async 'count-stall'() {
    const stall = stallAfter(speechBytes(40));
    server.plans.set('long.zvsa', stall.plan);
    const page = await openPage('count-stall');
    await page.waitState(0, 'buffering');
    stall.release();
    await playedWhole(page, 0, repeat(clips.long.samples, 2), 'Count 2 across a stall');
    assert.deepEqual(await page.errors(), []);
  },

  async lazy() {
    const page = await openPage('lazy');
    assert.equal(await page.evaluate(() => window.ZvStreamPlayer.players.length), 30);
    assert.equal(server.requested('speech.zvsa'), 0, 'no clip is fetched on page load');
    assert.equal(server.requested('Java/ZvTavelwork/QV80W.wasm'), 0, 'no decoder is fetched on page load');
    assert.equal(await page.evaluate(() => window.ZvStreamPlayer.players[0].context), null, 'no audio context on page load');
    await page.click(button(7, 'Play'));
    await playedWhole(page, 7, clips.speech.samples, 'the eighth of 30 players', { gapless: true });
    assert.equal(server.requested('speech.zvsa'), 1);
    await page.waitFor(() => window.ZvStreamPlayer.players[7].context.state === 'suspended', null,
      'the audio context to rest after the end');
    assert.deepEqual(await page.errors(), []);
  },
};

scenarios.exclusive = async () => {
  const page = await openPage('exclusive');
  await page.click(button(0, 'Play'));
  await page.waitState(0, 'playing');
  await page.click(button(1, 'Play'));
  await page.waitState(1, 'playing');
  await page.waitState(0, 'paused');
  if (await page.evaluate(() => Boolean(navigator.mediaSession && window.MediaMetadata))) {
    const title = await page.evaluate(() => navigator.mediaSession.metadata && navigator.mediaSession.metadata.title);
    assert.equal(title, 'exclusive: long.zvsa', 'the Media Session names the page and the clip');
    assert.equal(await page.evaluate(() => navigator.mediaSession.playbackState), 'playing');
  }
  // Players that are not exclusive neither pause nor are paused.
  await page.click(button(2, 'Play'));
  await page.waitState(2, 'playing');
  await page.click(button(3, 'Play'));
  await page.waitState(3, 'playing');
  assert.equal(await page.state(2), 'playing', 'a non-exclusive player plays beside another');
  assert.equal(await page.state(1), 'playing', 'an exclusive player is not paused by a non-exclusive one');
  for (const n of [1, 2, 3]) await page.click(button(n, 'Stop'));
  assert.deepEqual(await page.errors(), []);
};

scenarios.seek = async () => {
  const page = await openPage('seek');
  const slider = '#player-0 [role="slider"]';
  assert.equal(await page.evaluate((css) => document.querySelector(css).getAttribute('aria-label'), slider), 'Position');
  const box = await page.evaluate((css) => {
    const r = document.querySelector(css).getBoundingClientRect();
    return [Math.round(r.width), Math.round(r.height)];
  }, group(0));
  assert.deepEqual(box, [220, 40], 'the slider fits in the box the markup gives');
  await page.click(button(0, 'Play'));
  await page.waitFor(() => window.__zvHeard(window.ZvStreamPlayer.players[0].output).filter((x) => x).length > 3000,
    null, 'some of the clip heard');
  await page.click(button(0, 'Pause'));
  await page.waitState(0, 'paused');
  await snapshot(page, 'seek-paused');
  const pausedAt = await page.evaluate(() => window.ZvStreamPlayer.players[0].scheduler.sample);
  await page.waitFor((at) => Math.abs(window.ZvStreamPlayer.players[0].view.bar.position * 8000 - at) < 1, pausedAt,
    'the slider to show where the pause stopped');
  const total = clips.long.samples.length;
  // The arrow key moves a tenth of the clip.
  await page.focus(slider);
  await page.press('ArrowRight');
  const stepped = await page.evaluate(() => window.ZvStreamPlayer.players[0].scheduler.sample);
  assert.ok(Math.abs(stepped - (pausedAt + total / 10)) < 400, `ArrowRight from ${pausedAt} went to ${stepped}`);
  const text = await page.evaluate((css) => document.querySelector(css).getAttribute('aria-valuetext'), slider);
  assert.match(text, /^\d+\.\d of 3\.0 seconds$/);
  // A click in the middle of the bar goes to the middle of the clip.
  await page.click(slider);
  const middle = await page.evaluate(() => window.ZvStreamPlayer.players[0].scheduler.sample);
  assert.ok(Math.abs(middle - total / 2) < 400, `a click in the middle went to sample ${middle} of ${total}`);
  await page.click(button(0, 'Play'));
  const expected = clips.long.samples.slice(0, pausedAt).concat(clips.long.samples.slice(middle));
  await playedWhole(page, 0, expected, `seek from ${pausedAt} to ${middle}`);
  assert.deepEqual(await page.errors(), []);
};

scenarios.added = async () => {
  const page = await openPage('added');
  await page.evaluate(() => {
    document.body.insertAdjacentHTML('beforeend', '<div id="player-1"><APPLET CODE="ZvStreamPlayer.class" ' +
      'WIDTH="64" HEIGHT="32"><PARAM NAME="Clip" VALUE="speech.zvsa"><PARAM NAME="Buttons" VALUE="2">' +
      'Added later</APPLET></div>');
  });
  await page.waitFor(() => window.ZvStreamPlayer.players.length === 2, null, 'the added element to be taken over');
  assert.ok(await page.evaluate(() => {
    const player = window.ZvStreamPlayer.players[1];
    window.__zvEvents = [];
    for (const type of ['play', 'pause', 'ended']) player.root.addEventListener(type, () => window.__zvEvents.push(type));
    return window.ZvStreamPlayer.attach(player.root) === player;
  }), 'attach on an element taken over gives its player');
  await page.click(button(1, 'Play'));
  await playedWhole(page, 1, clips.speech.samples, 'the player added after load', { gapless: true });
  assert.deepEqual(await page.evaluate(() => window.__zvEvents), ['play', 'ended']);
  assert.deepEqual(await page.errors(), []);
};

scenarios.element = async () => {
  const page = await openPage('element');
  await page.waitState(1, 'failed');
  const shown = () => page.evaluate(() => document.body.innerText);
  assert.ok((await shown()).includes('Damaged clip shown as text'), 'a clip that cannot play shows the content');
  assert.ok(!(await shown()).includes('Speech cannot play'), 'a player that can play hides its content');
  assert.ok((await page.errors()).some((e) => e.includes('damaged.zvsa') && e.includes('check word is wrong')));
  const names = await page.evaluate(() => [...document.querySelector('zv-stream-player').shadowRoot
    .querySelectorAll('button, [role="slider"]')].map((b) => b.getAttribute('aria-label')));
  assert.deepEqual(names, ['Play', 'Stop', 'Position']);
  await snapshot(page, 'element');
  await page.evaluate(() => document.querySelector('zv-stream-player').shadowRoot.querySelector('button').focus());
  await page.press('Enter');
  await playedWhole(page, 0, clips.speech.samples, 'the element', { gapless: true });
};

test(`player in ${engine}: ${args.only}`, async () => {
  try {
    await scenarios[args.only]();
  } finally {
    await browser.close();
    await server.close();
    const { code } = await preview.stop();
    rmSync(work, { recursive: true, force: true });
    assert.equal(code, 0, 'webhost preview stops cleanly');
  }
});
