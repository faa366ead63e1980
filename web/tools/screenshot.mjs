// SPDX-License-Identifier: GPL-3.0-or-later
// The README's picture of the phone edition: build/web at 390x844 CSS pixels, 2 device pixels
// each, after one roll of 60 six-sided dice from a fixed seed.
// `node web/tools/screenshot.mjs [OUT.png]` (needs build/web and the native golden tool).
import { mkdir } from 'node:fs/promises';
import { dirname, join } from 'node:path';
import { PHONE, goldenCaptions, launchBrowser, phonePage, repoRoot, serve, setTestSeam, tapButton, webRoot } from '../tests/harness.mjs';

const out = process.argv[2] ?? join(repoRoot, 'docs', 'screenshots', 'phone-hit-page.png');
const seed = '20261206';
const time = { hour: 19, minute: 30, second: 0 };

const server = await serve(webRoot);
const browser = await launchBrowser();
try {
    const page = await phonePage(browser);
    // Two device pixels a pixel: as sharp as the desktop's pictures, half the bytes of three.
    await page.setViewport({ ...PHONE, deviceScaleFactor: 2 });
    await page.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: 'light' }]);
    await setTestSeam(page, seed, time);
    await page.goto(server.url);
    await tapButton(page, 'Würfeln');
    // The roll is painted once the first count reads what the engine rolled from this seed.
    const [expected] = await goldenCaptions(['hitRoll 60 6 new'], { seed, time });
    await page.waitForSelector(`aria/1er: ${expected['hit.face1']}`);
    await page.evaluate(() => document.fonts.ready.then(() => undefined));
    // No focus ring on the button just tapped.
    await page.evaluate(() => /** @type {HTMLElement | null} */ (document.activeElement)?.blur());
    await mkdir(dirname(out), { recursive: true });
    await page.screenshot({ path: /** @type {`${string}.png`} */ (out) });
    console.log(`wrote ${out}`);
} finally {
    await browser.close();
    await server.close();
}
