// The player's state table, without a browser: every transition the table
// lists, once, with the facts that choose between targets; the events a
// state does not list leave it as it is; and which states keep the page's
// audio awake.
import test from 'node:test';
import assert from 'node:assert/strict';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

import { options } from './requirements.mjs';

const args = options();
const { STATES, TRANSITIONS, nextState, wantsAudio } =
  await import(pathToFileURL(path.resolve(args.player, 'zvplayer_states.js')).href);

const allowed = { allowed: true, hasData: true, anyData: true };
const heldBack = { allowed: false, hasData: true, anyData: true };
const nothingYet = { allowed: true, hasData: false, anyData: false };
const ranOut = { allowed: true, hasData: false, anyData: true };

// [state, event, facts, expected next state]
const transitions = [
  ['idle', 'play', allowed, 'playing'],
  ['idle', 'play', heldBack, 'held'],
  ['idle', 'play', nothingYet, 'loading'],
  ['idle', 'fail', {}, 'failed'],
  ['loading', 'data', allowed, 'playing'],
  ['loading', 'data', nothingYet, 'loading'],
  ['loading', 'hold', {}, 'held'],
  ['loading', 'pause', {}, 'paused'],
  ['loading', 'stop', {}, 'stopped'],
  ['loading', 'fail', {}, 'failed'],
  ['held', 'allow', allowed, 'playing'],
  ['held', 'allow', nothingYet, 'loading'],
  ['held', 'allow', ranOut, 'buffering'],
  ['held', 'pause', {}, 'paused'],
  ['held', 'stop', {}, 'stopped'],
  ['held', 'fail', {}, 'failed'],
  ['playing', 'starve', {}, 'buffering'],
  ['playing', 'end', {}, 'stopped'],
  ['playing', 'hold', {}, 'held'],
  ['playing', 'pause', {}, 'paused'],
  ['playing', 'stop', {}, 'stopped'],
  ['buffering', 'data', allowed, 'playing'],
  ['buffering', 'data', ranOut, 'buffering'],
  ['buffering', 'end', {}, 'stopped'],
  ['buffering', 'hold', {}, 'held'],
  ['buffering', 'pause', {}, 'paused'],
  ['buffering', 'stop', {}, 'stopped'],
  ['paused', 'play', allowed, 'playing'],
  ['paused', 'play', ranOut, 'buffering'],
  ['paused', 'play', heldBack, 'held'],
  ['paused', 'stop', {}, 'stopped'],
  ['paused', 'fail', {}, 'failed'],
  ['stopped', 'play', allowed, 'playing'],
  ['stopped', 'play', heldBack, 'held'],
  ['stopped', 'fail', {}, 'failed'],
];

test('every transition of the table leads where it should', () => {
  for (const [state, event, facts, expected] of transitions) {
    assert.equal(nextState(state, event, facts), expected, `${state} --${event}--> ${expected}`);
  }
});

test('the cases above walk every entry of the table', () => {
  const walked = new Set(transitions.map(([state, event]) => `${state}:${event}`));
  for (const state of STATES) {
    for (const event of Object.keys(TRANSITIONS[state])) {
      assert.ok(walked.has(`${state}:${event}`), `${state} on ${event} is not walked`);
    }
  }
  assert.deepEqual(Object.keys(TRANSITIONS).sort(), [...STATES].sort(), 'the table has a row for every state');
});

test('an event a state does not list changes nothing', () => {
  const events = ['play', 'pause', 'stop', 'data', 'starve', 'end', 'hold', 'allow', 'fail'];
  for (const state of STATES) {
    for (const event of events) {
      if (event in TRANSITIONS[state]) continue;
      assert.equal(nextState(state, event, allowed), state, `${state} ignores ${event}`);
    }
  }
  // In particular a stall, a pause or the end never fails a player, and a
  // failed player stays failed.
  for (const event of events) assert.equal(nextState('failed', event, allowed), 'failed');
  assert.equal(nextState('playing', 'fail', allowed), 'playing');
});

test('the states that keep the page\'s audio awake', () => {
  assert.deepEqual(STATES.filter(wantsAudio), ['loading', 'held', 'playing', 'buffering']);
});
