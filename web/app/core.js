// SPDX-License-Identifier: GPL-3.0-or-later
// The dice core in WebAssembly, typed for the page: every text and figure it shows comes from
// here. Numbers go in, texts come out of one buffer that is copied at once. A bad call throws a
// RangeError or TypeError and leaves the module working.

/** @typedef {'hit'|'damage'} PageId */
/** @typedef {{hour:number, minute:number, second:number}} TimeOfDay */
/** @typedef {'face'|'atLeast'} RowKindId */
/** @typedef {{sides:number, rerolledFaces:number, dice:number}} DiceGroup */
/** @typedef {{heading:string, caption:string, name:string}} FaceCount */
/** @typedef {{heading:string, caption:string, name:string}} AtLeastCount */
/**
 * @typedef {{name:string, frame:string, counter:string, faces:FaceCount[], atLeast:AtLeastCount[],
 *   lastRollSides:number|null, announcement:string}} PageView
 */
/** @typedef {{threshold:number, heading:string, toolTip:string, name:string}} FollowUp */
/** @typedef {{kind:RowKindId, value:number, dice:number, text:string, enabled:boolean}} Entry */
/** @typedef {{first:Entry|null, faces:Entry[], fails:Entry[], enabled:boolean}} RerollMenu */
/** @typedef {{heading:string, written:string[], spoken:string[]}} OddsRow */
/** @typedef {{kind:RowKindId, caption:string, columns:string[], rows:OddsRow[]}} OddsTable */
/**
 * @typedef {{sentence:string, description:string, sentenceRow:number|null, tables:OddsTable[]}}
 *   Odds
 */
/**
 * @typedef {{dice:number, expected:number, usualLow:number, usualHigh:number,
 *   atLeastShare:number, atMostShare:number, exact:boolean}} RowOdds
 */
/**
 * @typedef {{dice:number, expected:number, exact:boolean, usualLow:number, usualHigh:number,
 *   atMost:(count:number)=>number, atLeast:(count:number)=>number,
 *   oddsAt:(count:number)=>RowOdds, free:()=>void}} Distribution
 */
/**
 * @typedef {{wasmBinary?: ArrayBuffer|Uint8Array, locateFile?: (name:string)=>string,
 *   moduleUrl?: string|URL, compiled?: Promise<WebAssembly.Module|null>|null}} LoadOptions
 * `compiled`: the .wasm already compiled, as a page can start that while it is still loading.
 */
/** @typedef {(words: Uint32Array) => void} RandomValues */
/** @typedef {{seed?: bigint, clock?: () => TimeOfDay}} SessionOptions */
/**
 * The emscripten module: its exports are called by name.
 * @typedef {{HEAPU8: Uint8Array, talveroNow?: (session:number)=>number} & Record<string, any>}
 *   Native
 */

const kUnit = '\x1f';
const kRecord = '\x1e';
const kStatusGone = 2;
/** @type {Record<PageId, number>} */
const kPages = {hit: 0, damage: 1};
const kDecoder = new TextDecoder('utf-8', {ignoreBOM: true});
const kSecondsPerDay = 86400;

/**
 * @param {Native} native
 * @param {string} name
 * @param {number[]} args
 * @returns {void}
 */
function call(native, name, ...args) {
  for (const arg of args) {
    if (!Number.isInteger(arg)) throw new RangeError(`Keine ganze Zahl: ${String(arg)}`);
  }
  const status = native['_talvero_' + name](...args);
  if (status === 0) return;
  native._talvero_take_error();
  const why = text(native);
  throw status === kStatusGone ? new TypeError(why) : new RangeError(why);
}

/** @param {Native} native */
function bytes(native) {
  const start = native._talvero_text();
  return native.HEAPU8.slice(start, start + native._talvero_text_size());
}

/** @param {Native} native */
function text(native) {
  return kDecoder.decode(bytes(native));
}

/**
 * The answer as records of fields.
 * @param {Native} native
 * @returns {string[][]}
 */
function records(native) {
  return text(native).split(kRecord).slice(0, -1).map((r) => r.split(kUnit));
}

/** @param {Native} native */
function number(native, index = 0) {
  return /** @type {number} */ (native._talvero_number(index));
}

/** @param {unknown} page */
function pageIndex(page) {
  if (page !== 'hit' && page !== 'damage') {
    throw new TypeError(`Keine Seite: ${String(page)} (erwartet: 'hit' oder 'damage')`);
  }
  return kPages[page];
}

/** @param {unknown} kind */
function kindIndex(kind) {
  if (kind !== 'face' && kind !== 'atLeast') {
    throw new TypeError(`Keine Zeilenart: ${String(kind)} (erwartet: 'face' oder 'atLeast')`);
  }
  return kind === 'face' ? 0 : 1;
}

/** @param {unknown} on */
function flag(on) {
  return on ? 1 : 0;
}

/**
 * @param {RandomValues} random
 * @returns {bigint} 64 random bits
 */
function randomSeed(random) {
  const words = new Uint32Array(2);
  random(words);
  return (BigInt(words[1]) << 32n) | BigInt(words[0]);
}

/** @returns {TimeOfDay} */
function localTime() {
  const now = new Date();
  return {hour: now.getHours(), minute: now.getMinutes(), second: now.getSeconds()};
}

/**
 * Seconds since midnight, or -1 for a time that is none: the core keeps its last one then.
 * @param {TimeOfDay} time
 */
function secondsOf(time) {
  const {hour, minute, second} = time ?? {};
  const parts = [hour, minute, second];
  if (!parts.every(Number.isInteger)) return -1;
  const seconds = hour * 3600 + minute * 60 + second;
  return hour < 24 && minute < 60 && second < 60 && Math.min(...parts) >= 0 ? seconds : -1;
}

export class Session {
  /** @type {Native} */
  #native;
  #handle;
  /** @type {Map<number, () => TimeOfDay>} */
  #clocks;

  /**
   * @param {Native} native
   * @param {Map<number, () => TimeOfDay>} clocks
   * @param {SessionOptions} options
   * @param {RandomValues} random
   */
  constructor(native, clocks, options, random) {
    const seed = BigInt.asUintN(64, options.seed ?? randomSeed(random));
    this.#native = native;
    this.#clocks = clocks;
    // The core reads no clock before the first roll, so the clock can follow the handle.
    this.#handle = native._talvero_session_new(Number(seed & 0xffffffffn), Number(seed >> 32n));
    clocks.set(this.#handle, options.clock ?? localTime);
  }

  /**
   * @param {string} name
   * @param {number[]} args
   */
  #call(name, ...args) {
    call(this.#native, name, this.#handle, ...args);
  }

  /** @param {PageId} page @param {boolean} newCount */
  setNewCount(page, newCount) {
    this.#call('set_new_count', pageIndex(page), flag(newCount));
  }

  /** @param {number} dice @param {number} sides @param {boolean} newCount */
  hitRoll(dice, sides, newCount) {
    this.#call('hit_roll', dice, sides, flag(newCount));
  }

  /**
   * @param {number} threshold @param {number} sides @param {boolean} newCount
   * @returns {string|null} the refusal, or null once rolled
   */
  followUp(threshold, sides, newCount) {
    this.#call('follow_up', threshold, sides, flag(newCount));
    return number(this.#native) ? text(this.#native) : null;
  }

  /** @param {number} index any index: outside 0..8 the text is empty */
  followUpToolTip(index) {
    this.#call('follow_up_tool_tip', index);
    return text(this.#native);
  }

  /** @param {PageId} page */
  clearCounts(page) {
    this.#call('clear_counts', pageIndex(page));
  }

  /** @param {PageId} page */
  resetCounter(page) {
    this.#call('reset_counter', pageIndex(page));
  }

  /** @param {PageId} page @param {number} what @param {number} value */
  #reroll(page, what, value) {
    this.#call('reroll', pageIndex(page), what, value);
    return number(this.#native);
  }

  /** @param {PageId} page @param {number} face 1..10 @returns {number} dice thrown again */
  rerollFace(page, face) {
    return this.#reroll(page, 0, face);
  }

  /** @param {PageId} page @param {number} threshold 2..11 @returns {number} */
  rerollBelow(page, threshold) {
    return this.#reroll(page, 1, threshold);
  }

  /** @param {PageId} page @param {number} face @returns {number} */
  rerollableFace(page, face) {
    return this.#reroll(page, 2, face);
  }

  /** @param {PageId} page @param {number} threshold @returns {number} */
  rerollableBelow(page, threshold) {
    return this.#reroll(page, 3, threshold);
  }

  /** @param {PageId} page @returns {number|null} */
  lastRollSides(page) {
    this.#call('last_roll_sides', pageIndex(page));
    return number(this.#native) || null;
  }

  /** @param {PageId} page @returns {DiceGroup[]} */
  diceBehind(page) {
    this.#call('dice_behind', pageIndex(page));
    return records(this.#native).map(([sides, rerolledFaces, dice]) => ({
      sides: Number(sides),
      rerolledFaces: Number(rerolledFaces),
      dice: Number(dice),
    }));
  }

  /** @param {PageId} page @returns {PageView} */
  view(page) {
    this.#call('view', pageIndex(page));
    const [[name, frame, counter, sides, announcement], ...counts] = records(this.#native);
    return {
      name,
      frame,
      counter,
      faces: counts.slice(0, 10).map(([heading, caption, label]) => ({
        heading,
        caption,
        name: label,
      })),
      atLeast: counts.slice(10).map(([heading, caption, label]) => ({
        heading,
        caption,
        name: label,
      })),
      lastRollSides: sides ? Number(sides) : null,
      announcement,
    };
  }

  /**
   * Per at-least count, what a screen reader hears after its name: ", erwartet 30,0, üblich 24
   * bis 36"; empty while no die is behind the page.
   * @param {PageId} page @returns {string[]}
   */
  descriptions(page) {
    this.#call('describe', pageIndex(page));
    return records(this.#native).map(([description]) => description);
  }

  /** @returns {FollowUp[]} */
  followUps() {
    this.#call('follow_ups');
    return records(this.#native).map(([threshold, heading, toolTip, name]) => ({
      threshold: Number(threshold),
      heading,
      toolTip,
      name,
    }));
  }

  /**
   * The context menu's rerolls, by the rules of the desktop's.
   * @param {PageId} page
   * @param {{kind: RowKindId, value: number}|null} focus the count the menu was opened on
   * @returns {RerollMenu}
   */
  rerollMenu(page, focus = null) {
    const kind = focus ? kindIndex(focus.kind) + 1 : 0;
    this.#call('reroll_menu', pageIndex(page), kind, focus ? focus.value : 0);
    const [[enabled], ...entries] = records(this.#native);
    /** @type {RerollMenu} */
    const menu = {first: null, faces: [], fails: [], enabled: enabled === '1'};
    for (const [where, rowKind, value, dice, label, on] of entries) {
      /** @type {Entry} */
      const entry = {
        kind: rowKind === 'face' ? 'face' : 'atLeast',
        value: Number(value),
        dice: Number(dice),
        text: label,
        enabled: on === '1',
      };
      if (where === 'first') menu.first = entry;
      else (where === 'face' ? menu.faces : menu.fails).push(entry);
    }
    return menu;
  }

  /**
   * @param {PageId} page
   * @param {number} chosenSides the sides chosen in the window, for a page without dice
   * @returns {Odds}
   */
  odds(page, chosenSides) {
    this.#call('odds', pageIndex(page), chosenSides);
    const [[sentence, description, row], ...rest] = records(this.#native);
    /** @type {OddsTable[]} */
    const tables = [];
    for (const [what, kind, caption, ...cells] of rest) {
      if (what === 'table') {
        tables.push({kind: kind === 'face' ? 'face' : 'atLeast', caption, columns: cells, rows: []});
      } else {
        const all = [caption, ...cells];
        tables[tables.length - 1].rows.push({
          heading: kind,
          written: all.slice(0, 6),
          spoken: all.slice(6, 12),
        });
      }
    }
    return {sentence, description, sentenceRow: row ? Number(row) : null, tables};
  }

  logSize() {
    this.#call('log_size');
    return number(this.#native);
  }

  /** @returns {string[]} the 16 column titles */
  logColumns() {
    this.#call('log_row', -1);
    return records(this.#native)[0];
  }

  /** @param {number} row 0 for the oldest @returns {string[]} */
  logRow(row) {
    if (!Number.isInteger(row) || row < 0) {
      throw new RangeError(`Zeile ${String(row)} gibt es nicht.`);
    }
    this.#call('log_row', row);
    return records(this.#native)[0];
  }

  /**
   * The log as the desktop saves it: UTF-8 after a byte-order mark, CRLF line ends.
   * @param {'comma'|'semicolon'} separator
   * @returns {Uint8Array}
   */
  csv(separator) {
    if (separator !== 'comma' && separator !== 'semicolon') {
      throw new TypeError(`Kein Trennzeichen: ${String(separator)}`);
    }
    this.#call('csv', flag(separator === 'semicolon'));
    return bytes(this.#native);
  }

  /** @param {PageId} page @returns {string} the page as it is copied */
  pageText(page) {
    this.#call('page_text', pageIndex(page));
    return text(this.#native);
  }

  /** The session's memory goes back to the module; any later call throws a TypeError. */
  free() {
    this.#call('session_free');
    this.#clocks.delete(this.#handle);
  }
}

export class Core {
  /** @type {Native} */
  #native;
  /** @type {Map<number, () => TimeOfDay>} */
  #clocks = new Map();
  /** @type {Readonly<Record<string, string>>} */
  words;
  /** @type {Readonly<Record<string, number|boolean>>} */
  limits;

  /** @type {RandomValues} */
  #random;

  /** @param {Native} native @param {RandomValues} random */
  constructor(native, random) {
    this.#native = native;
    this.#random = random;
    native.talveroNow = (handle) => {
      const clock = this.#clocks.get(handle);
      return clock ? secondsOf(clock()) : -1;
    };
    native._talvero_words();
    this.words = Object.freeze(Object.fromEntries(records(native)));
    native._talvero_limits();
    this.limits = Object.freeze(
      Object.fromEntries(
        records(native).map(([key, value]) => [
          key,
          key.startsWith('defaultAdd') ? value === '1' : Number(value),
        ]),
      ),
    );
  }

  /** @param {number} sides @returns {string} "Würfelanzahl mit 6 Seiten" */
  diceLabel(sides) {
    call(this.#native, 'dice_label', sides);
    return text(this.#native);
  }

  /** @param {PageId} page @returns {string} */
  pageName(page) {
    call(this.#native, 'page_name', pageIndex(page));
    return text(this.#native);
  }

  /** @param {SessionOptions} options */
  newSession(options = {}) {
    return new Session(this.#native, this.#clocks, options, this.#random);
  }

  /**
   * The distribution of a row's count under fair dice.
   * @param {DiceGroup[]} groups
   * @param {RowKindId} kind
   * @param {number} value the face or threshold
   * @returns {Distribution}
   */
  distribution(groups, kind, value) {
    const native = this.#native;
    const kindNumber = kindIndex(kind);
    native._talvero_groups_clear();
    for (const group of groups) call(native, 'groups_add', group.sides, group.rerolledFaces, group.dice);
    call(native, 'distribution_new', kindNumber, value);
    const [handle, dice, expected, usualLow, usualHigh, exact] = [0, 1, 2, 3, 4, 5].map((i) =>
      number(native, i),
    );
    /** @param {number} what @param {number} count */
    const at = (what, count) => {
      call(native, 'distribution_at', handle, what, count);
      return number(native);
    };
    return {
      dice,
      expected,
      exact: exact === 1,
      usualLow,
      usualHigh,
      atMost: (count) => at(0, count),
      atLeast: (count) => at(1, count),
      oddsAt: (count) => {
        at(2, count);
        const [d, e, low, high, atLeastShare, atMostShare, x] = [0, 1, 2, 3, 4, 5, 6].map((i) =>
          number(native, i),
        );
        return {dice: d, expected: e, usualLow: low, usualHigh: high, atLeastShare, atMostShare,
          exact: x === 1};
      },
      free: () => call(native, 'distribution_free', handle),
    };
  }

  /** @returns {number} the module's memory in bytes */
  memoryBytes() {
    return this.#native.HEAPU8.buffer.byteLength;
  }
}

/**
 * Loads the module once per call. In a browser it fetches talvero_core.wasm beside core.js; in
 * node, which cannot fetch a file, it reads the bytes itself.
 * @param {LoadOptions} options
 * @returns {Promise<Core>}
 */
export async function loadCore(options = {}) {
  const moduleUrl = new URL(options.moduleUrl ?? './talvero_core.js', import.meta.url);
  const {default: create} = await import(moduleUrl.href);
  let wasmBinary = options.wasmBinary;
  // Node 18 has the web's crypto only as a module of its own.
  /** @type {any} */
  const global = globalThis;
  const inNode = Boolean(global.process?.versions?.node);
  const nodeModule = (/** @type {string} */ name) => import(name);
  const crypto = global.crypto ?? (await nodeModule('node:crypto')).webcrypto;
  if (!wasmBinary && inNode && !options.locateFile) {
    const {readFile} = await nodeModule('node:fs/promises');
    wasmBinary = await readFile(new URL('talvero_core.wasm', moduleUrl));
  }
  /** @type {Record<string, unknown>} */
  const settings = {};
  if (wasmBinary) settings.wasmBinary = wasmBinary;
  settings.locateFile =
    options.locateFile ?? ((/** @type {string} */ name) => new URL(name, moduleUrl).href);
  const compiled = await options.compiled?.catch(() => null);
  /** @type {(error: unknown) => void} */
  let fail = () => {};
  /** @type {Promise<never>} */
  const failed = new Promise((_, reject) => {
    fail = reject;
  });
  if (compiled) {
    settings.instantiateWasm = (
      /** @type {WebAssembly.Imports} */ imports,
      /** @type {(instance: WebAssembly.Instance, module: WebAssembly.Module) => void} */ receive,
    ) => {
      WebAssembly.instantiate(compiled, imports).then((instance) => receive(instance, compiled), fail);
      return {};
    };
  }
  const native = /** @type {Native} */ (await Promise.race([create(settings), failed]));
  return new Core(native, (words) => crypto.getRandomValues(words));
}
