// SPDX-License-Identifier: GPL-3.0-or-later
// The choices kept between visits: dice, sides and the two counting modes. Every value is read
// strictly and falls back to its default; without a usable localStorage they live in memory.

/**
 * @typedef {{fewestDice:number, mostDice:number, fewestSides:number, mostSides:number,
 *            defaultDice:number, defaultSides:number, defaultAddHits:boolean,
 *            defaultAddDamage:boolean}} Limits
 * @typedef {{dice:number, sides:number, addHits:boolean, addDamage:boolean}} Choices
 */

const keys = /** @type {const} */ ({
    dice: 'talvero.dice',
    sides: 'talvero.sides',
    addHits: 'talvero.addHits',
    addDamage: 'talvero.addDamage',
});

/** @returns {Storage|null} */
function openStorage() {
    try {
        // Reading the property itself throws where storage is blocked.
        const storage = globalThis.localStorage;
        return storage ?? null;
    } catch {
        return null;
    }
}

/**
 * @param {Storage|null} storage
 * @param {string} key
 * @returns {string|null}
 */
function readRaw(storage, key) {
    try {
        return storage ? storage.getItem(key) : null;
    } catch {
        return null;
    }
}

/**
 * A whole number written plainly ("60", not "60.0", "6e1" or " 60"), within its range.
 * @param {string|null} text
 * @param {number} low
 * @param {number} high
 * @param {number} fallback
 */
export function wholeNumberIn(text, low, high, fallback) {
    if (text === null || !/^[0-9]{1,4}$/.test(text)) return fallback;
    const value = Number(text);
    return value >= low && value <= high ? value : fallback;
}

/**
 * @param {string|null} text
 * @param {boolean} fallback
 */
function truth(text, fallback) {
    if (text === 'true') return true;
    if (text === 'false') return false;
    return fallback;
}

export class Settings {
    /** @param {Limits} limits */
    constructor(limits) {
        this.limits = limits;
        this.storage = openStorage();
        const storage = this.storage;
        /** @type {Choices} */
        this.choices = {
            dice: wholeNumberIn(readRaw(storage, keys.dice), limits.fewestDice, limits.mostDice,
                limits.defaultDice),
            sides: wholeNumberIn(readRaw(storage, keys.sides), limits.fewestSides,
                limits.mostSides, limits.defaultSides),
            addHits: truth(readRaw(storage, keys.addHits), limits.defaultAddHits),
            addDamage: truth(readRaw(storage, keys.addDamage), limits.defaultAddDamage),
        };
    }

    /**
     * Keeps one choice; a storage that refuses (quota, private mode) leaves it in memory only.
     * @template {keyof Choices} K
     * @param {K} name
     * @param {Choices[K]} value
     */
    set(name, value) {
        this.choices[name] = value;
        try {
            this.storage?.setItem(keys[name], String(value));
        } catch {
            // The choice still holds for this visit.
        }
    }
}
