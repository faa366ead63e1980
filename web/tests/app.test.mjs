// SPDX-License-Identifier: GPL-3.0-or-later
// The phone page in Debian's Chromium, driven by roles and names as a user would. Expected
// captions come from the native golden tool, run with the same seed and clock.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { after, before, test } from 'node:test';
import { byRole, desktopPage, goldenCaptions, launchBrowser, phonePage, serve, setTestSeam, tapButton, webRoot } from './harness.mjs';

/** @typedef {import('puppeteer-core').Page} Page */
/** @typedef {Record<string, string>} Captions */

const seed = '8127361523417';
const time = { hour: 9, minute: 41, second: 7 };
const axeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

/** @type {import('puppeteer-core').Browser} */
let browser;
/** @type {{url: string, close: () => Promise<void>}} */
let server;

before(async () => {
    server = await serve(webRoot);
    browser = await launchBrowser();
});
after(async () => {
    await browser?.close();
    await server?.close();
});

/** @param {Page} page */
async function untilReady(page) {
    const roll = await byRole(page, 'button', 'Würfeln');
    await page.waitForFunction((button) => !(/** @type {HTMLButtonElement} */ (button).disabled), {}, roll);
}

/**
 * A fresh profile's page with the seeded session, once "Würfeln" can be tapped.
 * @param {{kind?: 'phone'|'desktop', width?: number, prepare?: (page: Page) => Promise<void>}} [options]
 */
async function openApp({ kind = 'phone', width, prepare } = {}) {
    const context = await browser.createBrowserContext();
    const page = kind === 'phone' ? await phonePage(context) : await desktopPage(context);
    if (width) await page.setViewport({ ...page.viewport(), width, height: 740 });
    await setTestSeam(page, seed, time);
    await prepare?.(page);
    await page.goto(server.url, { waitUntil: 'load' });
    await untilReady(page);
    return page;
}

/** @type {(page: Page, name: string) => Promise<void>} */
const tapRadio = async (page, name) => (await byRole(page, 'radio', name)).tap();
/** @type {(page: Page, name: string) => Promise<void>} */
const tapTab = async (page, name) => (await byRole(page, 'tab', name)).tap();

/** @param {string[]} commands */
const golden = (commands) => goldenCaptions(commands, { seed, time });

/** @type {(page: Page, prefix: 'hit'|'damage') => Promise<Captions>} The page's captions, named as the golden tool has them. */
async function shownCaptions(page, prefix) {
    /** @type {Captions} */
    const found = {};
    /** @param {import('puppeteer-core').SerializedAXNode} node */
    const walk = (node) => {
        const name = node.name ?? '';
        let match;
        if (node.role === 'button' && (match = /^(\d+)er: (\d+)$/.exec(name)))
            found[`${prefix}.face${match[1]}`] = match[2] ?? '';
        else if (node.role === 'button' && (match = /^(\d+)\+: (\d+)$/.exec(name)))
            found[`${prefix}.atLeast${match[1]}`] = match[2] ?? '';
        else if (node.role === 'button' && (match = /^(\d+)\+: (\d+ Würfe)$/.exec(name)))
            found[`toolTip${match[1]}`] = match[2] ?? '';
        else if (node.role === 'heading' && name.startsWith('Wurfergebnis')) found[`${prefix}.frame`] = name;
        else if (/^Wurf \d+$/.test(name)) found[`${prefix}.counter`] = name;
        node.children?.forEach(walk);
    };
    const tree = await page.accessibility.snapshot();
    if (tree) walk(tree);
    return found;
}

/** @type {(step: Captions|undefined, prefix: 'hit'|'damage') => Captions} The golden captions of one page. */
function expected(step, prefix) {
    assert.ok(step, 'the golden tool answered this step');
    return Object.fromEntries(Object.entries(step).filter(([key]) =>
        key.startsWith(`${prefix}.`) || (prefix === 'damage' && key.startsWith('toolTip'))));
}

/** @type {(page: Page, text: string) => Promise<unknown>} Waits for the polite live region to say `text`. */
const announced = (page, text) => page.waitForFunction((wanted) =>
    document.querySelector('[role="status"]')?.textContent === wanted, { timeout: 5000 }, text);

/**
 * What the live region says after a roll: the frame, the counter and the reachable at-least counts.
 * @param {Captions|undefined} step
 * @param {'hit'|'damage'} prefix
 * @param {number} sides
 */
const announcement = (step, prefix, sides) => `${step?.[`${prefix}.frame`]}, ${step?.[`${prefix}.counter`]}. ` +
    Array.from({ length: sides - 1 }, (_, i) => `${i + 2}+: ${step?.[`${prefix}.atLeast${i + 2}`]}`).join(', ') + '.';

/** @type {(page: Page, where: string) => Promise<void>} axe-core over the document: no violation at all. */
async function assertAccessible(page, where) {
    if (!(await page.evaluate(() => 'axe' in window))) await page.evaluate(axeSource);
    const violations = await page.evaluate(async () => {
        const result = await /** @type {any} */ (window).axe.run(document);
        return result.violations.map((/** @type {any} */ v) => `${v.id}: ${v.nodes.map((/** @type {any} */ n) => n.target).join(' ')}`);
    });
    assert.deepEqual(violations, [], where);
}

/** @type {(page: Page, caption: string) => Promise<string[][]>} The written cells of a table in the open dialog. */
function tableRows(page, caption) {
    return page.evaluate((wanted) => {
        const table = [...document.querySelectorAll('dialog[open] table')].map((t) => /** @type {HTMLTableElement} */ (t)).find(
            (t) => t.caption?.textContent === wanted);
        return [...(table?.tBodies[0]?.rows ?? [])].map((row) => [...row.cells].map(
            (cell) => cell.querySelector('[aria-hidden="true"]')?.textContent ?? cell.textContent ?? ''));
    }, caption);
}

test('hit roll, refusal, follow-up rolls, Addition, clear and reset follow the engine', async () => {
    const page = await openApp();
    const steps = await golden(['followUp 2 6 new', 'hitRoll 60 6 new', 'followUp 4 6 new',
        'followUp 4 6 add', 'clear damage', 'reset damage']);
    await tapTab(page, 'SCHADENSWÜRFE');
    await tapButton(page, '2+: 0 Würfe');
    const refusal = await byRole(page, 'alertdialog', 'Talvero');
    assert.equal(await refusal.evaluate((d) => d.querySelector('p')?.textContent), steps[0]?.refusal);
    await page.keyboard.press('Escape');
    assert.deepEqual(await shownCaptions(page, 'damage'), expected(steps[0], 'damage'));

    await tapTab(page, 'TREFFERWÜRFE');
    await tapButton(page, 'Würfeln');
    assert.deepEqual(await shownCaptions(page, 'hit'), expected(steps[1], 'hit'));
    await announced(page, announcement(steps[1], 'hit', 6));

    await tapTab(page, 'SCHADENSWÜRFE');
    assert.deepEqual(await shownCaptions(page, 'damage'), expected(steps[1], 'damage'));
    const fourPlus = `4+: ${steps[1]?.toolTip4}`;
    await tapButton(page, fourPlus);
    assert.deepEqual(await shownCaptions(page, 'damage'), expected(steps[2], 'damage'));
    await announced(page, announcement(steps[2], 'damage', 6));
    await tapRadio(page, 'Addition');
    await tapButton(page, fourPlus);
    assert.deepEqual(await shownCaptions(page, 'damage'), expected(steps[3], 'damage'));
    await tapButton(page, 'Zählung löschen');
    assert.deepEqual(await shownCaptions(page, 'damage'), expected(steps[4], 'damage'));
    await tapButton(page, 'Wurfzähler zurücksetzen');
    assert.deepEqual(await shownCaptions(page, 'damage'), expected(steps[5], 'damage'));
    await tapTab(page, 'TREFFERWÜRFE');
    assert.deepEqual(await shownCaptions(page, 'hit'), expected(steps[5], 'hit'));
});

test('rerolls from the menu and from a long press on a count', async () => {
    const page = await openApp();
    const steps = await golden(['hitRoll 60 6 new', 'rerollFace hit 1', 'rerollBelow hit 3']);
    await tapButton(page, 'Würfeln');
    await tapButton(page, 'Befehle');
    const menu = await byRole(page, 'dialog', 'Befehle');
    await tapButton(page, `${steps[0]?.['hit.face1']} × 1er neu würfeln`);
    assert.equal(await menu.evaluate((d) => /** @type {HTMLDialogElement} */ (d).open), false);
    assert.deepEqual(await shownCaptions(page, 'hit'), expected(steps[1], 'hit'));

    // Each die once: below 3+ now means the first roll's 2s, not the rerolled 1s.
    const count = await byRole(page, 'button', `3+: ${steps[1]?.['hit.atLeast3']}`);
    const box = await count.boundingBox();
    assert.ok(box);
    await page.touchscreen.touchStart(box.x + box.width / 2, box.y + box.height / 2);
    await new Promise((done) => setTimeout(done, 800));
    await page.touchscreen.touchEnd();
    const first = await menu.evaluate((d) => d.querySelector('button')?.textContent);
    assert.equal(first, `${steps[0]?.['hit.face2']} unter 3+ neu würfeln`);
    await tapButton(page, first ?? '');
    assert.deepEqual(await shownCaptions(page, 'hit'), expected(steps[2], 'hit'));
});

test('odds, roll log with both CSV variants, and the copied page', async () => {
    const page = await openApp({
        prepare: async (p) => void await p.evaluateOnNewDocument(() => {
            const saved = /** @type {any} */ (window).savedFiles = /** @type {{name: string, bytes: number[]}[]} */ ([]);
            /** @type {Blob|undefined} */
            let last;
            const create = URL.createObjectURL;
            URL.createObjectURL = (blob) => ((last = /** @type {Blob} */ (blob)), create(blob));
            HTMLAnchorElement.prototype.click = function () {
                const name = this.download;
                last?.arrayBuffer().then((b) => saved.push({ name, bytes: [...new Uint8Array(b)] }));
            };
        }),
    });
    await page.browserContext().overridePermissions(server.url, ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
    const step = (await golden(['hitRoll 60 6 new']))[0] ?? {};
    await tapButton(page, 'Würfeln');
    // What a screen reader hears after "4+": sixty six-sided dice give 30 on average.
    await page.waitForFunction((name) => [...document.querySelectorAll('button[aria-label]')].some((b) =>
        b.getAttribute('aria-label') === name && /^, erwartet 30,0, üblich \d+ bis \d+$/.test(
            document.getElementById(b.getAttribute('aria-describedby') ?? '')?.textContent ?? '')),
    { timeout: 5_000 }, `4+: ${step['hit.atLeast4']}`);
    // A tap on a face count opens the commands with that face's reroll first.
    await tapButton(page, `2er: ${step['hit.face2']}`);
    assert.equal(await page.$eval('dialog[open] button', (b) => b.textContent), `${step['hit.face2']} × 2er neu würfeln`);
    await page.keyboard.press('Escape');
    const befehle = await byRole(page, 'button', 'Befehle');
    await befehle.tap();
    await tapButton(page, 'Chancen');
    await byRole(page, 'dialog', 'Chancen');
    const sentence = await page.$eval('dialog[open] p', (p) => p.textContent ?? '');
    // Six-sided dice reach 4 or more in half the cases.
    assert.ok(sentence.startsWith(`4+: ${step['hit.atLeast4']} von 60 Würfeln. Erwartet 30,0`), sentence);
    const fourPlus = (await tableRows(page, 'Sortierung, TREFFERWÜRFE')).find((row) => row[0] === '4+');
    assert.deepEqual(fourPlus?.slice(0, 4), ['4+', step['hit.atLeast4'], '60', '30,0']);
    await page.keyboard.press('Escape');
    await page.waitForFunction(() => document.activeElement?.textContent === 'Befehle');

    await befehle.tap();
    await tapButton(page, 'Verlauf');
    await byRole(page, 'dialog', 'Verlauf');
    const faces = [1, 2, 3, 4, 5, 6].map((face) => step[`hit.face${face}`] ?? '');
    const [logRow] = await tableRows(page, 'Würfe');
    assert.equal(logRow?.length, 16);
    assert.ok(logRow?.includes('Wurf') && logRow.join('|').includes(faces.join('|')), logRow?.join('|'));
    await tapButton(page, 'Als CSV speichern');
    await tapRadio(page, 'CSV mit Semikolon, für Tabellenkalkulation auf Deutsch');
    await tapButton(page, 'Als CSV speichern');
    await page.waitForFunction(() => /** @type {any} */ (window).savedFiles.length === 2);
    /** @type {{name: string, bytes: number[]}[]} */
    const files = await page.evaluate(() => /** @type {any} */ (window).savedFiles);
    files.forEach((file, i) => {
        const separator = i === 0 ? ',' : ';';
        assert.equal(file.name, 'Verlauf.csv');
        assert.deepEqual(file.bytes.slice(0, 3), [0xef, 0xbb, 0xbf]);
        const lines = Buffer.from(file.bytes.slice(3)).toString('utf8').split('\r\n');
        assert.deepEqual([lines.length, lines[2]], [3, ''], 'a header, one event, CRLF after each');
        assert.equal(lines[0]?.split(separator).length, 16, `${lines[0]} split at "${separator}"`);
        assert.ok(lines[1]?.includes(`${separator}${faces.join(separator)}${separator}`), lines[1]);
    });
    await page.keyboard.press('Escape');

    await befehle.tap();
    await tapButton(page, 'Seite kopieren');
    await announced(page, 'Seite kopiert');
    const row = (/** @type {string} */ kind, /** @type {number} */ from, /** @type {number} */ to) =>
        Array.from({ length: to - from + 1 }, (_, i) => step[`hit.${kind}${from + i}`]).join('\t');
    const headings = (/** @type {string} */ suffix, /** @type {number} */ from, /** @type {number} */ to) =>
        Array.from({ length: to - from + 1 }, (_, i) => `${from + i}${suffix}`).join('\t');
    assert.equal(await page.evaluate(() => navigator.clipboard.readText()),
        `${step['hit.frame']}\n${headings('er', 1, 10)}\n${row('face', 1, 10)}\n` +
        `${headings('+', 2, 10)}\n${row('atLeast', 2, 10)}\n${step['hit.counter']}\n`);
});

test('choices are kept across a reload; damaged or unusable storage falls back', async () => {
    const page = await openApp();
    const dice = await byRole(page, 'spinbutton', 'Würfelanzahl mit 6 Seiten');
    await dice.click({ count: 3 });
    await dice.type('12');
    await page.keyboard.press('Enter');
    await tapButton(page, 'Eine Seite mehr');
    await tapButton(page, 'Eine Seite mehr');
    await tapTab(page, 'SCHADENSWÜRFE');
    await tapRadio(page, 'Addition');
    await page.reload({ waitUntil: 'load' });
    await untilReady(page);
    const shown = async () => page.evaluate(() => [...document.querySelectorAll('input')].map(
        (input) => input.type === 'radio' ? String(input.checked) : input.value));
    // Dice field and slider, sides field and slider, the hit pair, the damage pair, the CSV pair.
    assert.deepEqual(await shown(), ['12', '12', '8', '8', 'false', 'true', 'true', 'false', 'true', 'false']);
    /** @type {(names: string[]) => Promise<boolean[]>} Which of these buttons are inactive. */
    const inactive = async (names) => Promise.all(names.map(async (name) => (await byRole(page, 'button', name))
        .evaluate((b) => /** @type {HTMLButtonElement} */ (b).disabled || b.getAttribute('aria-disabled') === 'true')));
    assert.deepEqual(await inactive(['8er: 0', '9er: 0', '8+: 0', '9+: 0']), [false, true, false, true]);
    await tapTab(page, 'SCHADENSWÜRFE');
    assert.deepEqual(await inactive(['8+: 0 Würfe', '9+: 0 Würfe']), [false, true]);

    const damaged = { 'talvero.dice': '12.5', 'talvero.sides': '11', 'talvero.addHits': 'yes', 'talvero.addDamage': '1' };
    await page.evaluate((values) => Object.entries(values).forEach(([k, v]) => localStorage.setItem(k, v)), damaged);
    await page.reload({ waitUntil: 'load' });
    await untilReady(page);
    assert.deepEqual(await shown(), ['60', '60', '6', '6', 'false', 'true', 'false', 'true', 'true', 'false']);

    const [step] = await golden(['hitRoll 60 6 new']);
    const blocked = await openApp({
        prepare: async (p) => void await p.evaluateOnNewDocument(() => {
            Object.defineProperty(window, 'localStorage', { get() { throw new DOMException('blocked', 'SecurityError'); } });
        }),
    });
    await tapRadio(blocked, 'neue Zählung');
    await tapButton(blocked, 'Würfeln');
    assert.deepEqual(await shownCaptions(blocked, 'hit'), expected(step, 'hit'));
});

test('a roll on a desktop-sized window', async () => {
    const page = await openApp({ kind: 'desktop' });
    const [step] = await golden(['hitRoll 60 6 new']);
    await page.click('aria/Würfeln[role="button"]');
    assert.deepEqual(await shownCaptions(page, 'hit'), expected(step, 'hit'));
});

test('320 px wide: no sideways scrolling, 44 px targets, no axe violation light or dark', async () => {
    for (const scheme of ['light', 'dark']) {
        const page = await openApp({ width: 320 });
        await page.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: scheme }]);
        const fits = async (/** @type {string} */ where) => {
            const sizes = await page.evaluate(() => ({
                page: document.documentElement.scrollWidth,
                view: document.documentElement.clientWidth,
                small: [...document.querySelectorAll('button, input, [role="tab"]')]
                    .map((e) => (e instanceof HTMLInputElement && e.type === 'radio' ? e.closest('label') ?? e : e))
                    .map((e) => [e.textContent || e.getAttribute('aria-label') || e.id, e.getBoundingClientRect()])
                    .filter(([, r]) => typeof r !== 'string' && r.width > 0 && (r.width < 44 || r.height < 44))
                    .map(([name]) => name),
            }));
            assert.ok(sizes.page <= sizes.view, `${where}: ${sizes.page} px wide in ${sizes.view} px`);
            assert.deepEqual(sizes.small, [], `${where}: targets below 44 px`);
            await assertAccessible(page, `${where}, ${scheme}`);
        };
        await fits('hit page');
        await (await byRole(page, 'tab', 'TREFFERWÜRFE')).focus();
        await page.keyboard.press('ArrowRight');
        await tapButton(page, '2+: 0 Würfe');
        await byRole(page, 'alertdialog', 'Talvero');
        await fits('refusal');
        await page.keyboard.press('Escape');
        await tapTab(page, 'TREFFERWÜRFE');
        await tapButton(page, 'Würfeln');
        await tapTab(page, 'SCHADENSWÜRFE');
        await fits('damage page');
        for (const command of ['Chancen', 'Verlauf', '']) {
            await tapButton(page, 'Befehle');
            await byRole(page, 'dialog', 'Befehle');
            if (command) await tapButton(page, command);
            await byRole(page, 'dialog', command || 'Befehle');
            await fits(command || 'Befehle');
            await page.keyboard.press('Escape');
        }
        await page.close();
    }
});
