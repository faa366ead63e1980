// SPDX-License-Identifier: GPL-3.0-or-later
// What the browser tests share: Debian's Chromium through puppeteer-core, build/web served on a
// free port, phone and desktop pages, elements found by role and name, and the expected captions
// from the native golden tool.
import { spawn } from 'node:child_process';
import { existsSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';
import { serve } from '../tools/serve.mjs';

export { serve };

const here = dirname(fileURLToPath(import.meta.url));
export const repoRoot = resolve(here, '..', '..');
/** The assembled web edition (`make web` or `node web/tools/assemble.mjs`). */
export const webRoot = process.env.TALVERO_WEB_ROOT ?? join(repoRoot, 'build', 'web');
export const goldenTool =
    process.env.TALVERO_GOLDEN_TOOL ?? join(repoRoot, 'build', 'core-native', 'trace', 'golden_trace');
export const chromiumPath = process.env.TALVERO_CHROMIUM ?? '/usr/bin/chromium';

export const CHROMIUM_ARGS = Object.freeze([
    '--headless=new',
    '--no-sandbox',
    '--disable-gpu',
    '--disable-quic',
    '--no-first-run',
    '--disable-background-networking',
    '--disable-component-update',
    '--disable-sync',
]);

export const PHONE = Object.freeze({ width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
export const DESKTOP = Object.freeze({ width: 1280, height: 800, deviceScaleFactor: 1 });

/**
 * Debian's Chromium, headless, on a fresh temporary profile.
 * @returns {Promise<import('puppeteer-core').Browser>}
 */
export async function launchBrowser() {
    if (!existsSync(chromiumPath)) {
        throw new Error(`${chromiumPath} is missing: make web-test installs the chromium package`);
    }
    return puppeteer.launch({
        executablePath: chromiumPath,
        headless: true,
        args: [...CHROMIUM_ARGS],
        protocolTimeout: 120_000,
    });
}

/**
 * A page sized as a phone (390×844, touch, 3 device pixels a pixel) or as a desktop window.
 * @param {import('puppeteer-core').Browser | import('puppeteer-core').BrowserContext} browser
 * @param {'phone' | 'desktop'} [kind]
 */
export async function openPage(browser, kind = 'phone') {
    const page = await browser.newPage();
    await page.setViewport(kind === 'phone' ? PHONE : DESKTOP);
    return page;
}

/** @param {import('puppeteer-core').Browser | import('puppeteer-core').BrowserContext} browser */
export const phonePage = (browser) => openPage(browser, 'phone');
/** @param {import('puppeteer-core').Browser | import('puppeteer-core').BrowserContext} browser */
export const desktopPage = (browser) => openPage(browser, 'desktop');

/**
 * Makes the page's session start from this seed with a clock stopped at this time, before any
 * of its scripts runs (also after reloads).
 * @param {import('puppeteer-core').Page} page
 * @param {bigint | string | number} seed
 * @param {{hour: number, minute: number, second: number}} [time]
 */
export async function setTestSeam(page, seed, time = { hour: 12, minute: 0, second: 0 }) {
    const seam = { seed: String(seed), time };
    await page.evaluateOnNewDocument((/** @type {typeof seam} */ value) => {
        /** @type {any} */ (globalThis).talveroTestSeam = value;
    }, seam);
}

/**
 * The selector of the element with this role and accessible name, as the accessibility tree has it.
 * @param {string} role e.g. 'button', 'spinbutton', 'checkbox', 'cell'
 * @param {string} name the accessible name, whole
 */
export function ariaSelector(role, name) {
    return `aria/${name}[role="${role}"]`;
}

/**
 * The element with this role and name, waiting for it up to timeout milliseconds.
 * @param {import('puppeteer-core').Page} page
 * @param {string} role
 * @param {string} name
 * @param {number} [timeout]
 */
export async function byRole(page, role, name, timeout = 10_000) {
    const element = await page.waitForSelector(ariaSelector(role, name), { timeout });
    if (!element) throw new Error(`no ${role} named "${name}"`);
    return element;
}

/**
 * Waits until the button is enabled (the page keeps its buttons disabled until the core is loaded),
 * then taps it.
 * @param {import('puppeteer-core').Page} page
 * @param {string} name
 */
export async function tapButton(page, name) {
    const button = await byRole(page, 'button', name, 20_000);
    await page.waitForFunction((b) => !(/** @type {HTMLButtonElement} */ (b)).disabled, { timeout: 20_000 }, button);
    await button.tap();
}

/**
 * Parses the golden tool's command output: one {key: value} map per command, closed by `---`.
 * @param {string} text
 * @returns {Record<string, string>[]}
 */
export function parseGolden(text) {
    /** @type {Record<string, string>[]} */
    const steps = [];
    /** @type {Record<string, string>} */
    let current = {};
    for (const line of text.split('\n')) {
        if (line === '---') {
            steps.push(current);
            current = {};
            continue;
        }
        const at = line.indexOf(' = ');
        if (at > 0) current[line.slice(0, at)] = line.slice(at + 3);
    }
    return steps;
}

/**
 * The captions the engine shows after each command, from the native golden tool (`golden_trace
 * --commands`), e.g. commands ['hitRoll 60 6 new', 'rerollFace hit 1'].
 * @param {string[]} commands
 * @param {{seed: bigint | string | number, time?: {hour: number, minute: number, second: number}}} start
 * @returns {Promise<Record<string, string>[]>}
 */
export function goldenCaptions(commands, { seed, time = { hour: 12, minute: 0, second: 0 } }) {
    const input = [`seed ${seed}`, `time ${time.hour} ${time.minute} ${time.second}`, ...commands, ''].join('\n');
    return new Promise((done, fail) => {
        if (!existsSync(goldenTool)) {
            fail(new Error(`${goldenTool} is missing: cmake --preset core-native && cmake --build --preset core-native`));
            return;
        }
        const child = spawn(goldenTool, ['--commands'], { stdio: ['pipe', 'pipe', 'pipe'] });
        /** @type {Buffer[]} */
        const out = [];
        /** @type {Buffer[]} */
        const err = [];
        child.stdout.on('data', (chunk) => out.push(chunk));
        child.stderr.on('data', (chunk) => err.push(chunk));
        child.on('error', fail);
        child.on('close', (code) => {
            if (code !== 0) {
                fail(new Error(`golden_trace --commands exited with ${code}: ${Buffer.concat(err).toString()}`));
                return;
            }
            const steps = parseGolden(Buffer.concat(out).toString('utf8'));
            if (steps.length !== commands.length) {
                fail(new Error(`golden_trace answered ${steps.length} steps for ${commands.length} commands`));
                return;
            }
            done(steps);
        });
        child.stdin.end(input);
    });
}
