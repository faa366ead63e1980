// SPDX-License-Identifier: GPL-3.0-or-later
// The web edition's figures, printed as "name: value unit" with their limits beside them:
//   web.payload_gzip_kb      every file a first visit downloads, each gzip -9, summed
//   web.roll_tap_ratio       a tap on "Würfeln" with 200 dice until the counts are painted, against
//                            a floor page: the app's own rendered page whose script only writes 19
//                            numbers into the 19 counts (4x CPU throttling, medians)
//   web.cached_start_ratio   a start from the service worker's cache until "Würfeln" works, against
//                            the same floor page started the same way right after it (4x CPU
//                            throttling, the median of these pairs' ratios)
//   web.memory_log_100k_mb   JS heap in use plus the core's memory after 100,000 logged rolls
// Exits non-zero when a figure is past its limit. Needs build/web (make web-build).
import { cp, mkdtemp, readFile, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';
import { assemble, DEFAULTS } from '../tools/assemble.mjs';
import { launchBrowser, openPage, serve, tapButton, webRoot } from '../tests/harness.mjs';

const LIMITS = { payload: 150, rollTap: 1.2, cachedStart: 1.3 };
const THROTTLING = 4;
const TAPS = 40;
const WARM_UP_TAPS = 5;
const STARTS = 21;
const LOGGED_ROLLS = 100_000;

/** @param {number[]} values */
const median = (values) => {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = Math.floor(sorted.length / 2);
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
/** @param {number} value */
const figure = (value) => value.toFixed(3);

// Written into every page before its scripts: the moment "Würfeln" first works, and for every
// click on it the time until the frame after its handlers has been painted.
const PROBES = () => {
    const probe = { ready: 0, taps: /** @type {number[]} */ ([]) };
    /** @type {any} */ (globalThis).talveroBench = probe;
    const check = () => {
        const roll = document.getElementById('roll');
        if (!probe.ready && roll instanceof HTMLButtonElement && !roll.disabled && roll.textContent) {
            probe.ready = performance.now();
        }
    };
    new MutationObserver(check).observe(document, { subtree: true, childList: true, attributes: true, characterData: true });
    document.addEventListener(
        'click',
        (event) => {
            if (!(event.target instanceof Element) || !event.target.closest('#roll')) return;
            const start = performance.now();
            // rAF runs before the frame is drawn; a task queued from it runs once it is.
            requestAnimationFrame(() => setTimeout(() => probe.taps.push(performance.now() - start)));
        },
        true,
    );
};

// The floor page's script: the 19 counts of the hit page get a number each on a tap.
const FLOOR_SCRIPT = `// SPDX-License-Identifier: GPL-3.0-or-later
const roll = document.getElementById('roll');
const values = [...document.querySelectorAll('#panel-hit .count .value')];
let taps = 0;
roll.addEventListener('click', () => {
    taps += 1;
    values.forEach((value, i) => { value.textContent = String((taps * 37 + i * 11) % 200); });
});
roll.disabled = false;
`;

/**
 * The app's page as it stands once loaded, with the floor script in place of the app's.
 * @param {import('puppeteer-core').Browser} browser
 * @param {string} url
 */
async function floorPage(browser, url) {
    const page = await openPage(browser, 'phone');
    await page.goto(url);
    await tapButton(page, 'Würfeln');
    const html = await page.evaluate(() => {
        const root = /** @type {HTMLElement} */ (document.documentElement.cloneNode(true));
        root.querySelectorAll('script').forEach((script) => script.remove());
        root.querySelector('#roll')?.setAttribute('disabled', '');
        const script = document.createElement('script');
        script.type = 'module';
        script.src = 'floor.js';
        root.querySelector('head')?.append(script);
        return `<!DOCTYPE html>\n${root.outerHTML}\n`;
    });
    await page.close();
    if (!html.includes('class="count"')) throw new Error('the page has no counts to copy');
    return html;
}

/**
 * A fresh phone tab with 4x CPU throttling and the probes, at url; answers once "Würfeln" works.
 * @param {import('puppeteer-core').Browser} browser
 * @param {string} url
 */
async function startedPage(browser, url) {
    const page = await openPage(browser, 'phone');
    const cdp = await page.createCDPSession();
    await cdp.send('Emulation.setCPUThrottlingRate', { rate: THROTTLING });
    await page.evaluateOnNewDocument(PROBES);
    await page.goto(url);
    await page.waitForFunction(() => /** @type {any} */ (globalThis).talveroBench.ready > 0, { timeout: 60_000 });
    const ready = await page.evaluate(() => /** @type {number} */ (/** @type {any} */ (globalThis).talveroBench.ready));
    return { page, ready };
}

/**
 * The median time from a tap on "Würfeln" to the painted counts, after a few taps to warm up.
 * @param {import('puppeteer-core').Page} page
 */
async function tapMedian(page) {
    const roll = await page.waitForSelector('#roll');
    if (!roll) throw new Error('no roll button');
    for (let i = 0; i < WARM_UP_TAPS + TAPS; i++) {
        await roll.tap();
        await page.waitForFunction((/** @type {number} */ n) => /** @type {any} */ (globalThis).talveroBench.taps.length > n, {}, i);
    }
    const taps = await page.evaluate(() => /** @type {number[]} */ (/** @type {any} */ (globalThis).talveroBench.taps));
    return median(taps.slice(WARM_UP_TAPS));
}

/** Every file a first visit downloads, the service worker's precaching included, gzip -9. */
async function payload() {
    /** @type {Set<string>} */
    const files = new Set();
    const server = await serve(webRoot, 0, { onFile: (file) => files.add(file) });
    const browser = await launchBrowser();
    try {
        const page = await openPage(browser, 'phone');
        await page.goto(server.url);
        await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 60_000 });
        await tapButton(page, 'Würfeln');
    } finally {
        await browser.close();
        await server.close();
    }
    let bytes = 0;
    for (const file of files) bytes += gzipSync(await readFile(file), { level: 9 }).length;
    return { kb: bytes / 1024, files: files.size };
}

async function main() {
    /** @type {string[]} */
    const failures = [];
    /** @param {string} name @param {number} value @param {string} unit @param {number} [limit] @param {string} [note] */
    const report = (name, value, unit, limit, note = '') => {
        const over = limit !== undefined && value > limit;
        if (over) failures.push(name);
        const bound = limit === undefined ? '' : ` (limit ${limit}${over ? ', EXCEEDED' : ''})`;
        console.log(`${name}: ${figure(value)} ${unit}${bound}${note}`);
    };

    const first = await payload();
    report('web.payload_gzip_kb', first.kb, 'kB', LIMITS.payload, `, ${first.files} files`);

    // The site with the floor page beside the app, both precached by the same service worker.
    const scratch = await mkdtemp(join(tmpdir(), 'talvero-bench-'));
    const browser = await launchBrowser();
    /** @type {{close: () => Promise<void>} | undefined} */
    let server;
    try {
        const app = join(scratch, 'app');
        await cp(DEFAULTS.app, app, { recursive: true });
        const plain = await serve(webRoot);
        const floor = await floorPage(browser, plain.url).finally(() => plain.close());
        await writeFile(join(app, 'floor.html'), floor);
        await writeFile(join(app, 'floor.js'), FLOOR_SCRIPT);
        const site = await assemble({ app, core: webRoot, out: join(scratch, 'site') });
        const served = await serve(site.out);
        server = served;
        const appUrl = served.url;
        const floorUrl = `${served.url}floor.html`;

        // The first visit installs the service worker; every start below comes from its cache.
        const visit = await openPage(browser, 'phone');
        await visit.goto(appUrl);
        await visit.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 60_000 });
        await visit.close();

        /** @type {number[]} */
        const appStarts = [];
        /** @type {number[]} */
        const floorStarts = [];
        for (let i = 0; i < STARTS; i++) {
            for (const [url, starts] of /** @type {const} */ ([[appUrl, appStarts], [floorUrl, floorStarts]])) {
                const { page, ready } = await startedPage(browser, url);
                starts.push(ready);
                await page.close();
            }
        }
        report('web.cached_start_app_ms', median(appStarts), 'ms');
        report('web.cached_start_floor_ms', median(floorStarts), 'ms');
        // Each app start is paired with the floor start right after it, so that a slow moment of a
        // shared machine weighs on both sides of a ratio rather than on one median.
        const pairRatios = appStarts.map((app, i) => app / (floorStarts[i] ?? app));
        report('web.cached_start_ratio', median(pairRatios), 'x', LIMITS.cachedStart);

        const appPage = (await startedPage(browser, appUrl)).page;
        await appPage.$eval('#dice-field', (field) => {
            const input = /** @type {HTMLInputElement} */ (field);
            input.value = '200';
            input.dispatchEvent(new Event('change', { bubbles: true }));
        });
        const appTap = await tapMedian(appPage);
        const diceShown = await appPage.$eval('#dice-field', (field) => /** @type {HTMLInputElement} */ (field).value);
        if (diceShown !== '200') throw new Error(`the page took ${diceShown} dice, not 200`);
        await appPage.close();
        const floorPageTab = (await startedPage(browser, floorUrl)).page;
        const floorTap = await tapMedian(floorPageTab);
        await floorPageTab.close();
        report('web.roll_tap_app_ms', appTap, 'ms');
        report('web.roll_tap_floor_ms', floorTap, 'ms');
        report('web.roll_tap_ratio', appTap / floorTap, 'x', LIMITS.rollTap);

        const memoryPage = await openPage(browser, 'phone');
        await memoryPage.goto(floorUrl);
        const logged = await memoryPage.evaluate(async (rolls) => {
            const { loadCore } = await import(new URL('core.js', location.href).href);
            const core = await loadCore();
            const session = core.newSession({ seed: 1n, clock: () => ({ hour: 12, minute: 0, second: 0 }) });
            for (let i = 0; i < rolls; i++) session.hitRoll(60, 6, true);
            /** @type {any} */ (globalThis).kept = { core, session };
            return { events: /** @type {number} */ (session.logSize()), moduleBytes: /** @type {number} */ (core.memoryBytes()) };
        }, LOGGED_ROLLS);
        const cdp = await memoryPage.createCDPSession();
        await cdp.send('HeapProfiler.collectGarbage');
        const { usedSize } = await cdp.send('Runtime.getHeapUsage');
        report('web.memory_log_100k_mb', (usedSize + logged.moduleBytes) / (1024 * 1024), 'MiB', undefined,
            `, ${logged.events} events logged, module ${figure(logged.moduleBytes / (1024 * 1024))} MiB`);
        await memoryPage.close();
    } finally {
        await browser.close();
        await server?.close();
        await rm(scratch, { recursive: true, force: true });
    }
    if (failures.length) {
        console.error(`past the limit: ${failures.join(', ')}`);
        process.exitCode = 1;
    }
}

await main();
