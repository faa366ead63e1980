// SPDX-License-Identifier: GPL-3.0-or-later
// The golden trace's script (trace/golden_trace.cpp) run again through core.js: the same
// commands, clock and printing, so its lines must be the native build's bytes.
/** @typedef {import('../app/core.js').Core} Core @typedef {import('../app/core.js').Session} Session */
/** @typedef {import('../app/core.js').Distribution} Distribution @typedef {import('../app/core.js').DiceGroup} DiceGroup */

const kStartSeed = 0x7a1fe20b5eed0001n;
const kMask = (1n << 64n) - 1n;
const kPages = /** @type {const} */ (['hit', 'damage']);
const kBoundaries = [20000, 1000000000]; // between the odds' methods; 8 digits beyond the first

/** xorshift64*, the script's own generator: between(first, last) both included. */
function scriptRandom(state = 0x0dd5c0de20261207n) {
  const next = () => {
    state ^= state >> 12n;
    state = (state ^ (state << 25n)) & kMask;
    state ^= state >> 27n;
    return (state * 0x2545f4914f6cdd1dn) & kMask;
  };
  const between = (/** @type {number} */ a, /** @type {number} */ b) =>
    a + Number(next() % BigInt(b - a + 1));
  return {between, chance: (/** @type {number} */ percent) => between(1, 100) <= percent};
}

/** A clock that moves on by a few seconds at every read, across minutes and around the hour. */
function scriptedClock() {
  let seconds = 3540, previous = 3540, hour = 23, reads = 0;
  return () => {
    seconds = (seconds + 1 + (++reads % 23)) % 3600;
    hour = seconds < previous ? (hour + 1) % 24 : hour;
    return (previous = seconds), {hour, minute: Math.floor(seconds / 60), second: seconds % 60};
  };
}

/** C's "%.<digits>g", rounding the exact binary value half to even as C libraries do. */
export function figure(value = 0, digits = 10) {
  if (Number.isNaN(value)) return 'nan';
  if (!Number.isFinite(value)) return value < 0 ? '-inf' : 'inf';
  if (value === 0) return Object.is(value, -0) ? '-0' : '0';
  const [mantissa, power] = Math.abs(value).toExponential(99).split('e');
  const all = mantissa.replace('.', ''), rest = all.slice(digits);
  let d = all.slice(0, digits), exponent = Number(power);
  if (rest[0] > '5' || (rest[0] === '5' && (!/^50*$/.test(rest) || Number(d[digits - 1]) % 2))) {
    d = String(BigInt(d) + 1n);
    if (d.length > digits) (d = d.slice(0, digits)), ++exponent;
  }
  const sign = value < 0 ? '-' : '';
  const trim = (/** @type {string} */ s) => (s.includes('.') ? s.replace(/\.?0*$/, '') : s);
  if (exponent < -4 || exponent >= digits) {
    const e = String(Math.abs(exponent)).padStart(2, '0');
    return `${sign}${trim(`${d[0]}.${d.slice(1)}`)}e${exponent < 0 ? '-' : '+'}${e}`;
  }
  const e = exponent + 1;
  return sign + trim(e > 0 ? `${d.slice(0, e)}.${d.slice(e)}` : `0.${'0'.repeat(-e)}${d}`);
}

const groupsText = (/** @type {DiceGroup[]} */ groups) =>
  groups.map((g) => `${g.dice}d${g.sides}/${g.rerolledFaces}`).join(' ') || '-';
const escaped = (/** @type {string} */ text) =>
  text.replace(/\t/g, '\\t').replace(/\n/g, '\\n').replace(/\r/g, '\\r');

/** @param {Session} s @returns {[string, string][]} */
function snapshot(s) {
  /** @type {[string, string][]} */
  const entries = [];
  for (const page of kPages) {
    const view = s.view(page);
    view.faces.forEach((f, i) => entries.push([`${page}.face${i + 1}`, f.caption]));
    view.atLeast.forEach((f, i) => entries.push([`${page}.atLeast${i + 2}`, f.caption]));
    entries.push([`${page}.frame`, view.frame], [`${page}.counter`, view.counter],
      [`${page}.lastRollSides`, String(s.lastRollSides(page) ?? '-')],
      [`${page}.diceBehind`, groupsText(s.diceBehind(page))],
      [`${page}.rerollableFace`, [...Array(10)].map((_, i) => s.rerollableFace(page, i + 1)).join(' ')],
      [`${page}.rerollableBelow`, [...Array(9)].map((_, i) => s.rerollableBelow(page, i + 2)).join(' ')]);
  }
  s.followUps().forEach((f) => entries.push([`toolTip${f.threshold}`, f.toolTip]));
  return entries;
}

/** @param {string[]} out @param {Distribution} d @param {number} count */
function addOdds(out, d, count) {
  const odds = d.oddsAt(count);
  const digits = odds.dice > kBoundaries[0] ? 8 : 10;
  out.push(`  dice ${odds.dice}, expected ${figure(odds.expected)}, usual ${odds.usualLow}..` +
    `${odds.usualHigh}, exact ${odds.exact ? 'yes' : 'no'}`, `  count ${count}: atLeast ` +
    `${figure(odds.atLeastShare, digits)}, atMost ${figure(odds.atMostShare, digits)}`);
  for (const offset of [-2, -1, 0, 1, 2]) {
    const k = Math.max(0, Math.floor(odds.expected + offset * Math.sqrt(Math.max(odds.expected, 1))));
    out.push(`  at ${k}: atMost ${figure(d.atMost(k), digits)}, atLeast ${figure(d.atLeast(k), digits)}`);
  }
}

/** A face or threshold out of range rerolls nothing in the engine. @param {() => number} reroll */
function orNone(reroll) {
  try { return reroll(); } catch (e) { if (e instanceof RangeError) return 0; throw e; }
}

/**
 * @param {ReturnType<typeof scriptRandom>} script @param {Core} core @param {Session} s
 * @returns {string[]} the command and the figures below it
 */
function pageStep(script, core, s) {
  const page = script.chance(50) ? 'hit' : 'damage';
  const sides = script.between(2, 10);
  const newCount = script.chance(40), mode = newCount ? ' new' : ' add';
  kPages.forEach((p) => s.setNewCount(p, newCount));
  const command = script.between(0, 99);
  if (command < 30) {
    const dice = script.between(1, 200);
    s.hitRoll(dice, sides, newCount);
    return [`hitRoll ${dice}d${sides}${mode}`];
  }
  if (command < 50) {
    const t = script.between(2, 10);
    return [`followUpRoll ${t}+ d${sides}${mode} -> ${s.followUp(t, sides, newCount) ?? 'rolled'}`];
  }
  if (command < 70) {
    const face = command < 60, at = script.between(face ? 0 : 1, 11);
    const dice = orNone(() => (face ? s.rerollFace(page, at) : s.rerollBelow(page, at)));
    return [`${page} ${face ? 'rerollFace' : 'rerollBelow'} ${at} -> ${dice}`];
  }
  if (command < 80) {
    (command < 75 ? s.clearCounts : s.resetCounter).call(s, page);
    return [`${page} ${command < 75 ? 'clearCounts' : 'resetRollCounter'}`];
  }
  if (command < 85) {
    const index = script.between(-1, 9);
    return [`followUpToolTip ${index} -> ${s.followUpToolTip(index)}`];
  }
  const kind = script.chance(50) ? 'face' : 'atLeast';
  const value = script.between(kind === 'face' ? 1 : 2, 10);
  const view = s.view(page), groups = s.diceBehind(page), d = core.distribution(groups, kind, value);
  const out = [`${page} odds ${kind}${value} behind ${groupsText(groups)}`];
  addOdds(out, d, Number((kind === 'face' ? view.faces : view.atLeast)[value - (kind === 'face' ? 1 : 2)].caption));
  d.free();
  const odds = s.odds(page, sides);
  for (const row of odds.tables.find((t) => t.kind === kind)?.rows ?? []) {
    const cells = (/** @type {string[]} */ c) => c.map((x) => ` | ${x}`).join('');
    out.push(`  ${row.heading}${cells(row.written)} /${cells(row.spoken)}`);
  }
  if (kind === 'atLeast') out.push(`  sentence ${odds.sentence}`);
  if (kind === 'atLeast' && odds.sentenceRow !== null) out.push(`  described${odds.description}`);
  return out;
}

/** Dice behind a row whose total lies near a boundary between the odds' methods. */
function boundaryGroups(/** @type {ReturnType<typeof scriptRandom>} */ script) {
  const boundary = kBoundaries[script.chance(80) ? 0 : 1];
  const total = boundary + script.between(0, 2) - 1;
  const sides = script.between(2, 10);
  const rerolled = () => (script.chance(50) ? 0 : script.between(1, (1 << sides) - 1));
  if (boundary === kBoundaries[1] || script.chance(30)) return [{sides, rerolledFaces: rerolled(), dice: total}];
  const groups = [];
  for (let part = 0, parts = script.between(2, 4), left = total; part < parts; ++part) {
    const dice = part + 1 === parts ? left : Math.floor(left / script.between(2, 5));
    left -= dice;
    const groupSides = script.chance(50) ? sides : script.between(2, 10);
    groups.push({sides: groupSides, rerolledFaces: rerolled(), dice});
  }
  return groups;
}

/** Every line of the golden trace, made through `core`. @param {Core} core */
export function goldenTrace(core) {
  const lines = [`start seed ${kStartSeed}`], script = scriptRandom();
  const s = core.newSession({seed: kStartSeed, clock: scriptedClock()});
  /** @type {[string, string][]} */
  let last = [];
  const state = (/** @type {boolean} */ all) => {
    const now = snapshot(s);
    now.forEach(([name, v], i) => all || last[i]?.[1] !== v ? lines.push(`  ${name} = ${v}`) : 0);
    last = now;
  };
  state(true);
  let steps = 0, printedEvents = 0;
  for (let i = 1; i <= 10000; ++i) {
    const [command, ...figures] = pageStep(script, core, s);
    lines.push(`step ${++steps}: ${command}`, ...figures);
    for (; printedEvents < s.logSize(); ++printedEvents) lines.push(`  log ${s.logRow(printedEvents).join(' | ')}`);
    state(i % 250 === 0);
    if (i % 250 === 0) kPages.forEach((p) => lines.push(`  ${p}.copied = ${escaped(s.pageText(p))}`));
  }
  for (let i = 1; i <= 400; ++i) {
    const groups = boundaryGroups(script);
    const kind = script.chance(50) ? 'face' : 'atLeast';
    const value = script.between(kind === 'face' ? 1 : 2, 10);
    const d = core.distribution(groups, kind, value), where = script.between(0, 3);
    lines.push(`step ${++steps}: odds ${kind}${value} behind ${groupsText(groups)}`);
    addOdds(lines, d, where === 0 ? 0 : where === 1 ? d.dice : Math.floor(d.expected));
    d.free();
  }
  const utf8 = new TextDecoder('utf-8', {ignoreBOM: true}), comma = s.csv('comma'), semicolon = s.csv('semicolon');
  lines.push(`csv ${comma.length} bytes`);
  for (const row of utf8.decode(comma).match(/[^\n]*\n|[^\n]+$/g) ?? []) lines.push(`  ${escaped(row)}`);
  const same = utf8.decode(semicolon) === utf8.decode(comma).replaceAll(',', ';');
  lines.push(`csv semicolon ${semicolon.length} bytes, the comma variant's fields: ${same ? 'yes' : 'no'}`);
  s.free();
  lines.push(`golden trace: ${steps} steps, ${lines.length + 1} lines`);
  return lines;
}
