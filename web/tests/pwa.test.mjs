// SPDX-License-Identifier: GPL-3.0-or-later
// The web edition as an installed app: the served build/web is installable, starts and rolls with
// no server once visited, and every version of its files gets a cache of its own that takes over.
import assert from 'node:assert/strict';
import { get } from 'node:http';
import { cp, mkdtemp, readFile, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { assemble } from '../tools/assemble.mjs';
import { goldenCaptions, launchBrowser, phonePage, repoRoot, serve, setTestSeam, tapButton, webRoot } from './harness.mjs';

const SEED = '8029771402135';
const TIME = { hour: 21, minute: 5, second: 9 };
/** @type {import('puppeteer-core').Browser} */
let browser;
before(async () => void (browser = await launchBrowser()));
after(() => browser?.close());

/** @param {import('node:test').TestContext} t @param {string} root served while the test t runs */
async function served(t, root) {
    const server = await serve(root);
    t.after(() => server.close());
    return server;
}

// A phone page on url, once the service worker controls it. Each server is an origin of its own;
// a separate browser context would be incognito, where nothing installs.
/** @param {import('node:test').TestContext} t @param {string} url */
async function controlledPage(t, url) {
    const page = await phonePage(browser);
    t.after(() => page.close());
    await setTestSeam(page, SEED, TIME);
    await page.goto(url);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 30_000 });
    return page;
}

/** @param {number} port @param {string} path sent as it is @returns {Promise<[number, string]>} status, type */
const rawGet = (port, path) =>
    new Promise((done, fail) => {
        get({ host: '127.0.0.1', port, path }, (response) => {
            response.resume();
            done([response.statusCode ?? 0, String(response.headers['content-type'] ?? '').split(';')[0]]);
        }).on('error', fail);
    });

test('the server gives each file its type and nothing outside its folder', async (t) => {
    const server = await served(t, webRoot);
    const cases = [
        ['/', 200, 'text/html'],
        ['/talvero_core.wasm', 200, 'application/wasm'],
        ['/manifest.webmanifest', 200, 'application/manifest+json'],
        ['/sw.js', 200, 'text/javascript'],
        ['/icons/icon-192.png', 200, 'image/png'],
        ['/../web-core/CMakeCache.txt', 404, 'text/plain'],
        ['/%2e%2e/web-core/CMakeCache.txt', 404, 'text/plain'],
        ['/..%2Fweb-core%2FCMakeCache.txt', 404, 'text/plain'],
        ['/icons', 404, 'text/plain'],
    ];
    for (const [path, status, type] of cases) {
        assert.deepEqual(await rawGet(server.port, String(path)), [status, type], String(path));
    }
});

test('the served page is installable, and after one visit it starts and rolls with no server', async (t) => {
    const server = await served(t, webRoot);
    const page = await controlledPage(t, server.url);
    const cdp = await page.createCDPSession();
    const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
    assert.deepEqual(installabilityErrors, []);
    assert.deepEqual((await cdp.send('Page.getAppManifest')).errors, []);
    const icons = await page.evaluate(async () => {
        const { icons } = /** @type {{icons: {src: string, sizes: string, purpose: string}[]}} */ (
            await (await fetch('manifest.webmanifest')).json());
        return Promise.all(icons.map(async ({ src, sizes, purpose }) => {
            const image = Object.assign(new Image(), { src });
            await image.decode();
            return `${sizes} ${purpose}, drawn ${image.naturalWidth}x${image.naturalHeight}`;
        }));
    });
    assert.deepEqual(icons.sort(), ['192x192 any, drawn 192x192', '512x512 any, drawn 512x512', '512x512 maskable, drawn 512x512']);

    const notCached = await page.evaluate(async () => {
        const loaded = [location.href, ...performance.getEntriesByType('resource').map((entry) => entry.name)];
        const found = await Promise.all(loaded.map((url) => caches.match(url, { ignoreSearch: true })));
        return loaded.filter((_, i) => !found[i]);
    });
    assert.deepEqual(notCached, []);

    await cdp.send('Network.clearBrowserCache');
    await server.close();
    await page.reload();
    await tapButton(page, 'Würfeln');
    const [expected] = await goldenCaptions(['hitRoll 60 6 new'], { seed: SEED, time: TIME });
    for (let face = 1; face <= 6; face++) {
        await page.waitForSelector(`aria/${face}er: ${expected[`hit.face${face}`]}`, { timeout: 10_000 });
    }
});

test('every change to a file makes a new cache, and a published version replaces the old one', async (t) => {
    const scratch = await mkdtemp(join(tmpdir(), 'talvero-pwa-'));
    t.after(() => rm(scratch, { recursive: true, force: true }));
    const [app, core, live] = ['app', 'core', 'live'].map((name) => join(scratch, name));
    await cp(join(repoRoot, 'web', 'app'), app, { recursive: true });
    await cp(webRoot, core, { recursive: true });
    const version = /project\(Talvero VERSION ([0-9.]+)/.exec(await readFile(join(repoRoot, 'CMakeLists.txt'), 'utf8'))?.[1];
    const first = await assemble({ app, core, out: live });
    assert.match(first.cacheName, new RegExp(`^talvero-${version?.replaceAll('.', '\\.')}-[0-9a-f]{12}$`));
    assert.equal((await assemble({ app, core, out: join(scratch, 'again') })).cacheName, first.cacheName);

    const names = new Set([first.cacheName]);
    for (const file of [join(app, 'manifest.webmanifest'), join(app, 'icons', 'icon-192.png'), join(core, 'talvero_core.wasm')]) {
        const bytes = await readFile(file); // one byte other, the length the same
        bytes[bytes.length - 1] = bytes[bytes.length - 1] === 0x20 ? 0x0a : 0x20;
        await writeFile(file, bytes);
        const { cacheName, out } = await assemble({ app, core, out: join(scratch, String(names.size)) });
        assert.ok(!names.has(cacheName), `${file} changed, yet the cache name stays ${cacheName}`);
        assert.ok((await readFile(join(out, 'sw.js'), 'utf8')).includes(JSON.stringify(cacheName)));
        names.add(cacheName);
    }

    const page = await controlledPage(t, (await served(t, live)).url);
    assert.deepEqual(await page.evaluate(() => caches.keys()), [first.cacheName]);
    const published = await assemble({ app, core, out: live });
    await page.evaluate(() => navigator.serviceWorker.getRegistration().then((registration) => registration?.update()));
    await page.waitForFunction(async (/** @type {string} */ name) => (await caches.keys()).join() === name,
        { timeout: 30_000 }, published.cacheName);
});
