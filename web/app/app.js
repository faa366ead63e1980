// SPDX-License-Identifier: GPL-3.0-or-later
// The phone page: two tab pages over one session of the core. Every text it shows comes from the
// core; this module lays them out, keeps the choices and forwards taps.

import { afterPaint, all, byId, element, openModal, setAttribute, setText } from './dom.js';
import { Dialogs } from './dialogs.js';
import { Settings } from './settings.js';

/**
 * @typedef {import('./core.js').Core} Core
 * @typedef {import('./core.js').Session} Session
 * @typedef {'hit'|'damage'} PageId
 * @typedef {{kind:'face'|'atLeast', value:number}} Focus
 * @typedef {{hour:number, minute:number, second:number}} TimeOfDay
 * @typedef {import('./settings.js').Limits} Limits
 */

/** @type {PageId[]} */
const pages = ['hit', 'damage'];
// Long enough not to fire on a tap, short enough that a player does not let go first.
const longPressMs = 500;

/**
 * The elements of one page's results, made once.
 * @typedef {{frame: HTMLElement, faces: HTMLButtonElement[], atLeast: HTMLButtonElement[],
 *            descriptions: HTMLElement[], counter: HTMLElement, clear: HTMLButtonElement,
 *            reset: HTMLButtonElement, commands: HTMLButtonElement}} PageParts
 */

class App {
    /**
     * @param {Core} core
     * @param {Session} session
     * @param {Settings} settings
     */
    constructor(core, session, settings) {
        this.core = core;
        this.session = session;
        this.settings = settings;
        this.limits = limitsOf(core);
        /** @type {PageId} */
        this.shown = 'hit';
        this.status = byId('status', HTMLElement);
        this.roll = byId('roll', HTMLButtonElement);
        /** @type {HTMLButtonElement[]} */
        this.followUpButtons = [];
        /** @type {Record<PageId, PageParts>} */
        this.parts = { hit: this.buildResults('hit'), damage: this.buildResults('damage') };
        this.dialogs = new Dialogs(core, session, {
            chosenSides: () => this.settings.choices.sides,
            changed: (page) => this.countsChanged(page),
            announce: (text) => this.announce(text),
        });
    }

    /** @param {string} key */
    word(key) {
        const words = /** @type {Record<string, string|undefined>} */ (this.core.words);
        return words[key] ?? '';
    }

    start() {
        for (const node of all(document, '[data-word]', HTMLElement)) {
            const key = node.dataset.word ?? '';
            node.textContent = this.word(key);
        }
        for (const node of all(document, '[data-label]', HTMLElement))
            node.setAttribute('aria-label', this.word(node.dataset.label ?? ''));
        for (const page of pages)
            byId(`tab-${page}`, HTMLButtonElement).textContent = this.core.pageName(page);
        this.buildFollowUps();
        this.connectTabs();
        this.connectSelector('dice', this.limits.fewestDice, this.limits.mostDice);
        this.connectSelector('sides', this.limits.fewestSides, this.limits.mostSides);
        this.connectModes();
        this.roll.addEventListener('click', () => this.hitRoll());
        this.showDice();
        this.showSides();
        for (const page of pages) this.showPage(page);
        this.roll.disabled = false;
        document.documentElement.classList.remove('starting');
    }

    /**
     * The frame with the face row, the at-least row, the counter and the page's commands.
     * @param {PageId} page
     * @returns {PageParts}
     */
    buildResults(page) {
        const panel = byId(`panel-${page}`, HTMLElement);
        const into = /** @type {HTMLElement} */ (panel.querySelector('.results'));
        into.append(byId('results-template', HTMLTemplateElement).content.cloneNode(true));
        const [faceFrame, atLeastFrame] = all(into, 'section.frame', HTMLElement);
        const frame = /** @type {HTMLElement} */ (into.querySelector('.frame-caption'));
        frame.id = `${page}-frame`;
        faceFrame?.setAttribute('aria-labelledby', frame.id);
        const sorting = /** @type {HTMLElement} */ (into.querySelector('.sorting-caption'));
        sorting.id = `${page}-sorting`;
        sorting.textContent = this.word('atLeastFrame');
        atLeastFrame?.setAttribute('aria-labelledby', sorting.id);
        const faces = all(into, '.faces .count', HTMLButtonElement);
        const atLeast = all(into, '.at-least .count', HTMLButtonElement);
        const descriptions = all(into, '.odds-description', HTMLElement);
        descriptions.forEach((description, i) => {
            description.id = `${page}-odds-${i + 2}`;
            atLeast[i]?.setAttribute('aria-describedby', description.id);
        });
        const counter = /** @type {HTMLElement} */ (into.querySelector('.counter'));
        const button = (/** @type {string} */ selector) =>
            /** @type {HTMLButtonElement} */ (into.querySelector(selector));
        const clear = button('.clear');
        const reset = button('.reset');
        const commands = button('.commands-button');
        for (const [icon, key] of /** @type {const} */ ([[clear, 'clearCounts'], [reset, 'resetCounter']])) {
            icon.setAttribute('aria-label', this.word(key));
            icon.title = this.word(key);
        }
        commands.textContent = this.word('commands');
        this.connectCounts(into, page);
        clear.addEventListener('click', () => {
            this.session.clearCounts(page);
            this.countsChanged(page);
        });
        reset.addEventListener('click', () => {
            this.session.resetCounter(page);
            this.countsChanged(page);
        });
        commands.addEventListener('click', () => this.dialogs.openMenu(page, null, commands));
        return { frame, faces, atLeast, descriptions, counter, clear, reset, commands };
    }

    /**
     * A tap, Enter, a long press or the context menu on a count opens the commands with this
     * count first; one set of listeners for all the page's counts.
     * @param {HTMLElement} into
     * @param {PageId} page
     */
    connectCounts(into, page) {
        /** @param {Event} event */
        const countOf = (event) => {
            const target = event.target instanceof Element ? event.target.closest('.count') : null;
            return target instanceof HTMLButtonElement ? target : null;
        };
        /** @param {HTMLButtonElement} button */
        const open = (button) => {
            const focus = /** @type {Focus} */ ({
                kind: button.dataset.kind === 'face' ? 'face' : 'atLeast',
                value: Number(button.dataset.value),
            });
            this.dialogs.openMenu(page, focus, button);
        };
        /** @type {ReturnType<typeof setTimeout>|undefined} */
        let timer;
        let pressedLong = false;
        const cancel = () => clearTimeout(timer);
        into.addEventListener('click', (event) => {
            const button = countOf(event);
            if (button) open(button);
        });
        into.addEventListener('contextmenu', (event) => {
            const button = countOf(event);
            if (!button) return;
            event.preventDefault();
            open(button);
        });
        into.addEventListener('pointerdown', (event) => {
            cancel();
            pressedLong = false;
            const button = countOf(event);
            if (!button) return;
            timer = setTimeout(() => {
                pressedLong = true;
                open(button);
            }, longPressMs);
        });
        // The finger lifted after a long press would tap the entry that opened under it.
        into.addEventListener('touchend', (event) => {
            if (pressedLong && countOf(event)) event.preventDefault();
        });
        for (const type of ['pointerup', 'pointerout', 'pointercancel'])
            into.addEventListener(type, cancel);
    }

    buildFollowUps() {
        const into = byId('follow-up-buttons', HTMLElement);
        for (let threshold = 2; threshold <= 10; ++threshold) {
            const button = element('button', { type: 'button', class: 'follow-up' },
                [element('span', { class: 'threshold', 'aria-hidden': 'true' }), ' ',
                    element('span', { class: 'dice', 'aria-hidden': 'true' })]);
            button.disabled = true;
            button.addEventListener('click', () => this.followUp(threshold));
            into.append(button);
            this.followUpButtons.push(button);
        }
    }

    connectTabs() {
        const tabs = pages.map((page) => byId(`tab-${page}`, HTMLButtonElement));
        tabs.forEach((tab, i) => {
            tab.addEventListener('click', () => this.showTab(pages[i] ?? 'hit'));
            tab.addEventListener('keydown', (event) => {
                const moves = { ArrowRight: i + 1, ArrowLeft: i - 1, Home: 0, End: tabs.length - 1 };
                const to = /** @type {Record<string, number>} */ (moves)[event.key];
                if (to === undefined) return;
                event.preventDefault();
                const index = (to + tabs.length) % tabs.length;
                this.showTab(pages[index] ?? 'hit');
                tabs[index]?.focus();
            });
        });
    }

    /** @param {PageId} page */
    showTab(page) {
        this.shown = page;
        for (const other of pages) {
            const tab = byId(`tab-${other}`, HTMLButtonElement);
            const selected = other === page;
            tab.setAttribute('aria-selected', String(selected));
            tab.tabIndex = selected ? 0 : -1;
            byId(`panel-${other}`, HTMLElement).hidden = !selected;
        }
    }

    /**
     * The −/+ buttons, the number field and the slider of one choice, kept in step.
     * @param {'dice'|'sides'} name
     * @param {number} low
     * @param {number} high
     */
    connectSelector(name, low, high) {
        const field = byId(`${name}-field`, HTMLInputElement);
        const range = byId(`${name}-range`, HTMLInputElement);
        for (const input of [field, range]) {
            input.min = String(low);
            input.max = String(high);
        }
        const choose = (/** @type {number} */ value) => {
            const kept = Math.min(high, Math.max(low, value));
            this.settings.set(name, kept);
            if (name === 'dice') this.showDice();
            else this.showSides();
        };
        for (const step of all(field.parentElement ?? document, '.step', HTMLButtonElement)) {
            step.addEventListener('click',
                () => choose(this.settings.choices[name] + Number(step.dataset.step)));
        }
        range.addEventListener('input', () => choose(Number(range.value)));
        // A typed number counts once it is complete; anything but a whole number is undone.
        field.addEventListener('change', () => {
            const typed = field.value.trim();
            if (/^[0-9]+$/.test(typed)) choose(Number(typed));
            else choose(this.settings.choices[name]);
        });
    }

    connectModes() {
        for (const page of pages) {
            const key = page === 'hit' ? 'addHits' : 'addDamage';
            for (const radio of all(document, `input[name="mode-${page}"]`, HTMLInputElement)) {
                radio.checked = (radio.value === 'add') === this.settings.choices[key];
                radio.addEventListener('change', () => {
                    if (!radio.checked) return;
                    this.settings.set(key, radio.value === 'add');
                    this.session.setNewCount(page, this.newCount(page));
                });
            }
            this.session.setNewCount(page, this.newCount(page));
        }
    }

    /** @param {PageId} page */
    newCount(page) {
        return !this.settings.choices[page === 'hit' ? 'addHits' : 'addDamage'];
    }

    showDice() {
        const dice = String(this.settings.choices.dice);
        byId('dice-field', HTMLInputElement).value = dice;
        byId('dice-range', HTMLInputElement).value = dice;
        this.setStepLimits('dice', this.settings.choices.dice, this.limits.fewestDice,
            this.limits.mostDice);
    }

    // Faces and thresholds beyond the sides, and their follow-up buttons, turn inactive.
    showSides() {
        const sides = this.settings.choices.sides;
        byId('sides-field', HTMLInputElement).value = String(sides);
        byId('sides-range', HTMLInputElement).value = String(sides);
        byId('dice-label', HTMLElement).textContent = this.core.diceLabel(sides);
        this.setStepLimits('sides', sides, this.limits.fewestSides,
            this.limits.mostSides);
        for (const page of pages) {
            const parts = this.parts[page];
            parts.faces.forEach((button, i) => setInactive(button, i + 1 > sides));
            parts.atLeast.forEach((button, i) => setInactive(button, i + 2 > sides));
        }
        this.showFollowUps();
        this.dialogs.refresh();
    }

    /**
     * @param {'dice'|'sides'} name
     * @param {number} value
     * @param {number} low
     * @param {number} high
     */
    setStepLimits(name, value, low, high) {
        byId(`${name}-less`, HTMLButtonElement).disabled = value <= low;
        byId(`${name}-more`, HTMLButtonElement).disabled = value >= high;
    }

    showFollowUps() {
        const sides = this.settings.choices.sides;
        this.session.followUps().forEach((followUp, i) => {
            const button = this.followUpButtons[i];
            if (!button) return;
            const [threshold, dice] = button.children;
            setText(threshold, followUp.heading);
            setText(dice, followUp.toolTip);
            setAttribute(button, 'aria-label', followUp.name);
            setAttribute(button, 'title', followUp.toolTip);
            button.disabled = followUp.threshold > sides;
        });
    }

    /** @param {PageId} page */
    showPage(page) {
        const view = this.session.view(page);
        const parts = this.parts[page];
        setText(parts.frame, view.frame);
        setText(parts.counter, view.counter);
        view.faces.forEach((count, i) => showCount(parts.faces[i], count));
        view.atLeast.forEach((count, i) => showCount(parts.atLeast[i], count));
        afterPaint(() => this.session.descriptions(page)
            .forEach((description, i) => setText(parts.descriptions[i], description)));
        return view;
    }

    /** @param {PageId} page */
    countsChanged(page) {
        const view = this.showPage(page);
        // The follow-up buttons roll what the hit page's counts read; they are on the other page.
        if (page === 'hit') afterPaint(() => this.showFollowUps());
        this.dialogs.refresh();
        return view;
    }

    hitRoll() {
        const { dice, sides } = this.settings.choices;
        this.session.hitRoll(dice, sides, this.newCount('hit'));
        this.announce(this.countsChanged('hit').announcement);
    }

    /** @param {number} threshold */
    followUp(threshold) {
        const refusal = this.session.followUp(threshold, this.settings.choices.sides,
            this.newCount('damage'));
        if (refusal !== null) {
            byId('refusal-text', HTMLElement).textContent = refusal;
            openModal(byId('refusal', HTMLDialogElement));
            return;
        }
        this.announce(this.countsChanged('damage').announcement);
    }

    /** @param {string} text */
    announce(text) {
        // After the counts are painted; emptied first, so that the same sentence twice is
        // announced twice.
        afterPaint(() => {
            this.status.textContent = '';
            requestAnimationFrame(() => {
                this.status.textContent = text;
            });
        });
    }
}

/**
 * @param {HTMLButtonElement|undefined} button
 * @param {{heading:string, caption:string, name:string}} count
 */
function showCount(button, count) {
    if (!button) return;
    const [heading, value] = button.children;
    setText(heading, count.heading);
    setText(value, count.caption);
    setAttribute(button, 'aria-label', count.name);
}

/**
 * Inactive counts look as the desktop's grey labels; they still open the commands.
 * @param {HTMLButtonElement|undefined} button
 * @param {boolean} inactive
 */
function setInactive(button, inactive) {
    if (!button) return;
    if (inactive) button.setAttribute('aria-disabled', 'true');
    else button.removeAttribute('aria-disabled');
}

/**
 * @param {Core} core
 * @returns {Limits}
 */
function limitsOf(core) {
    return /** @type {Limits} */ (/** @type {unknown} */ (core.limits));
}

/** @returns {{seed?: bigint, clock?: () => TimeOfDay}} */
function sessionOptions() {
    const seam = /** @type {{talveroTestSeam?: {seed: string, time: TimeOfDay}}} */ (
        /** @type {unknown} */ (globalThis)).talveroTestSeam;
    if (!seam) return {};
    const time = { ...seam.time };
    return { seed: BigInt(seam.seed), clock: () => ({ ...time }) };
}

/** @returns {Promise<WebAssembly.Module|null>|null} what the page's head began to compile */
function precompiled() {
    const started = /** @type {{talveroWasm?: Promise<WebAssembly.Module|null>}} */ (
        /** @type {unknown} */ (globalThis)).talveroWasm;
    return started ?? null;
}

function registerServiceWorker() {
    if (!('serviceWorker' in navigator)) return;
    // Without it the page works the same, only not offline.
    navigator.serviceWorker.register('sw.js').catch(() => {});
}

/** @param {unknown} error */
function showLoadFailure(error) {
    const message = byId('load-failed', HTMLElement);
    // The core holds every other text, but this one shows when the core is what failed.
    message.textContent = `Talvero konnte nicht geladen werden: ${
        error instanceof Error && error.message ? error.message : String(error)}`;
    message.hidden = false;
}

async function start() {
    try {
        const { loadCore } = await import('./core.js');
        const core = await loadCore({ compiled: precompiled() });
        new App(core, core.newSession(sessionOptions()), new Settings(limitsOf(core))).start();
    } catch (error) {
        // "Würfeln" stays disabled; the reason is on the page rather than only in a console.
        showLoadFailure(error);
    }
    // Once the page works: the worker's own start and its caching need not delay it.
    registerServiceWorker();
}

start();
