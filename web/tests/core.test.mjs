// SPDX-License-Identifier: GPL-3.0-or-later
// core.js on the WebAssembly core: the golden trace replayed against the native one, command
// scripts against `golden_trace --commands`, bad calls. TALVERO_CORE_JS: the built module (default
// build/web-core/…); TALVERO_GOLDEN_TRACE: the native trace as a file (default: run the tool).
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {readFileSync} from 'node:fs';
import {fileURLToPath} from 'node:url';
import {loadCore} from '../app/core.js';
import {goldenTrace} from './golden-replay.mjs';

const root = new URL('../../', import.meta.url);
const golden = fileURLToPath(new URL('build/core-native/trace/golden_trace', root));
const built = new URL('build/web-core/web/core/talvero_core.js', root);
const core = await loadCore({moduleUrl: process.env.TALVERO_CORE_JS ?? built});

test('the golden trace through core.js is the native trace, line for line', () => {
  const native = process.env.TALVERO_GOLDEN_TRACE
    ? readFileSync(process.env.TALVERO_GOLDEN_TRACE, 'utf8')
    : execFileSync(golden, {maxBuffer: 1 << 30, encoding: 'utf8'});
  const expected = native.split('\n').slice(0, -1);
  const lines = goldenTrace(core);
  const i = [...lines, undefined].findIndex((line, k) => line !== expected[k]); // and the end
  if (i >= 0) assert.fail(`line ${i + 1}:\n  core.js: ${lines[i]}\n  native:  ${expected[i]}`);
});

// The captions after each command, as the browser tests ask the native tool for them.
/** @param {import('../app/core.js').Session} s @param {string} line */
function captions(s, line) {
  const [name, a, b, mode] = line.split(' '), page = /** @type {'hit'|'damage'} */ (a), out = [];
  if (name === 'hitRoll') s.hitRoll(Number(a), Number(b), mode === 'new');
  if (name === 'followUp') out.push(`refusal = ${s.followUp(Number(a), Number(b), mode === 'new') ?? '-'}`);
  if (name.startsWith('reroll')) s[name === 'rerollFace' ? 'rerollFace' : 'rerollBelow'](page, Number(b));
  if (name === 'clear' || name === 'reset') s[name === 'clear' ? 'clearCounts' : 'resetCounter'](page);
  const shown = [];
  for (const p of /** @type {const} */ (['hit', 'damage'])) {
    const v = s.view(p);
    v.faces.forEach((f, i) => shown.push(`${p}.face${i + 1} = ${f.caption}`));
    v.atLeast.forEach((f, i) => shown.push(`${p}.atLeast${i + 2} = ${f.caption}`));
    shown.push(`${p}.frame = ${v.frame}`, `${p}.counter = ${v.counter}`);
  }
  s.followUps().forEach((f) => shown.push(`toolTip${f.threshold} = ${f.toolTip}`));
  return [...shown, ...out, '---'];
}

test('command scripts give the captions golden_trace --commands prints', () => {
  const scripts = {
    'both pages, rerolls': ['hitRoll 60 6 add', 'followUp 4 6 new', 'rerollFace hit 2',
      'rerollBelow damage 4', 'followUp 3 10 add', 'rerollBelow hit 11', 'reset hit'],
    'refusals and a cleared page': ['hitRoll 1 2 new', 'followUp 10 6 add', 'followUp 2 2 new',
      'clear hit', 'followUp 2 8 add', 'hitRoll 200 10 add', 'hitRoll 7 3 add', 'rerollFace hit 3'],
  };
  for (const [name, commands] of Object.entries(scripts)) {
    const input = `seed 18446744073709551557\ntime 23 59 58\n${commands.join('\n')}\n`;
    const native = execFileSync(golden, ['--commands'], {input, encoding: 'utf8'});
    const s = core.newSession({seed: 18446744073709551557n, clock: () => ({hour: 23, minute: 59, second: 58})});
    const lines = commands.flatMap((line) => captions(s, line));
    assert.deepEqual(lines, native.split('\n').slice(0, -1), name);
    s.free();
  }
});

test('each read of the clock asks the clock, and the log keeps each page\'s counting mode', () => {
  let reads = 0;
  const s = core.newSession({seed: 1n, clock: () => ({hour: 9, minute: 5, second: ++reads % 60})});
  s.hitRoll(100, 6, true); // three reads for the dice, one for the log
  assert.ok(s.followUp(10, 6, false)); // refused: no read
  assert.equal(reads, 4);
  s.followUp(2, 6, false); // the damage page's mode: add
  s.setNewCount('hit', false);
  [s.rerollBelow('hit', 4), s.rerollBelow('damage', 4)];
  assert.deepEqual([0, 1, 2, 3].map((i) => s.logRow(i)).map((r) => [r[0], r[1], r[5]]), [
    ['09:05:04', 'TREFFERWÜRFE', 'neue Zählung'], ['09:05:08', 'SCHADENSWÜRFE', 'Addition'],
    ['09:05:12', 'TREFFERWÜRFE', 'Addition'], ['09:05:16', 'SCHADENSWÜRFE', 'Addition']]);
  const csv = new TextDecoder('utf-8', {ignoreBOM: true}).decode(s.csv('semicolon'));
  assert.match(csv, /^\uFEFFZeit;Seite;Ereignis;Würfel;Seiten;Zählung;1er;[^\n]*10er\r\n09:05:04;/);
  s.free();
});

test('the reroll menu follows the last roll\'s sides and the count it was opened on', () => {
  const s = core.newSession({seed: 7n});
  const none = {first: null, faces: [], fails: [], enabled: false};
  assert.deepEqual(s.rerollMenu('hit', {kind: 'face', value: 1}), none, 'before a roll');
  s.hitRoll(50, 4, false);
  for (const [focus, first] of /** @type {const} */ ([[{kind: 'face', value: 4}, 'face4'],
    [{kind: 'face', value: 5}, null], [{kind: 'atLeast', value: 4}, 'atLeast4'],
    [{kind: 'atLeast', value: 5}, null], [null, null]])) {
    const menu = s.rerollMenu('hit', focus);
    assert.equal(menu.first && `${menu.first.kind}${menu.first.value}`, first);
    assert.deepEqual(menu.faces.map((e) => e.text), [1, 2, 3, 4].map((f) => `${s.rerollableFace('hit', f)} × ${f}er neu würfeln`));
    assert.deepEqual(menu.fails.map((e) => e.text), [2, 3, 4].map((t) => `${s.rerollableBelow('hit', t)} unter ${t}+ neu würfeln`));
  }
  s.free();
});

test('bad calls throw and leave the module working', () => {
  const s = core.newSession({seed: 3n});
  /** @type {Record<string, [typeof Error, () => unknown]>} */
  const bad = {
    'page x': [TypeError, () => s.view(/** @type {any} */ ('x'))], '0 dice': [RangeError, () => s.hitRoll(0, 6, false)],
    '201 dice': [RangeError, () => s.hitRoll(201, 6, false)], '1.5 dice': [RangeError, () => s.hitRoll(1.5, 6, false)],
    '1 side': [RangeError, () => s.hitRoll(6, 1, false)], '11 sides': [RangeError, () => s.hitRoll(6, 11, false)],
    'threshold 11': [RangeError, () => s.followUp(11, 6, false)], 'threshold 1': [RangeError, () => s.followUp(1, 6, false)],
    'face 0': [RangeError, () => s.rerollFace('hit', 0)], 'below 12+': [RangeError, () => s.rerollBelow('damage', 12)],
    'log row past the end': [RangeError, () => s.logRow(s.logSize())], 'log row -1': [RangeError, () => s.logRow(-1)],
    'csv tab': [TypeError, () => s.csv(/** @type {any} */ ('tab'))], 'odds of 1 side': [RangeError, () => s.odds('hit', 1)],
    'dice label 11': [RangeError, () => core.diceLabel(11)], 'row 1+': [RangeError, () => core.distribution([], 'atLeast', 1)],
    'count -1': [RangeError, () => core.distribution([{sides: 6, rerolledFaces: 0, dice: 6}], 'face', 1).atMost(-1)],
  };
  for (const [name, [kind, call]] of Object.entries(bad)) {
    assert.throws(call, kind, name);
    s.hitRoll(10, 6, true);
    assert.equal(s.view('hit').counter, `Wurf ${s.logSize()}`, name);
  }
  s.free();
  assert.throws(() => s.view('hit'), TypeError);
  assert.throws(() => s.free(), TypeError);
  assert.equal(core.newSession().view('damage').name, 'SCHADENSWÜRFE');
});
