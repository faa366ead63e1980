// SPDX-License-Identifier: GPL-3.0-or-later
// The service worker: every file of this version in one cache, served from there first, so the
// page starts without a network. Assembling build/web fills in the cache name and the file list;
// a new version brings a new cache name, is taken over at once and deletes the older caches.
const CACHE_NAME = 'talvero-unassembled';
const FILES = /** @type {string[]} */ ([]);

/** @typedef {Event & {waitUntil(promise: Promise<unknown>): void}} ExtendableEvent */
/** @typedef {ExtendableEvent & {request: Request, respondWith(response: Promise<Response>): void}} FetchEvent */
/**
 * The parts of the service worker's global scope used here (the page's type library has no such scope).
 * @typedef {object} WorkerScope
 * @property {() => Promise<void>} skipWaiting
 * @property {{claim(): Promise<void>}} clients
 * @property {{origin: string}} location
 * @property {(type: string, listener: (event: any) => void) => void} addEventListener
 */
const worker = /** @type {WorkerScope} */ (/** @type {unknown} */ (self));

worker.addEventListener('install', (/** @type {ExtendableEvent} */ event) => {
    event.waitUntil(
        caches
            .open(CACHE_NAME)
            // Past the HTTP cache: the files must be this version's, not an older copy.
            .then((cache) => cache.addAll(FILES.map((file) => new Request(file, { cache: 'reload' }))))
            .then(() => worker.skipWaiting()),
    );
});

worker.addEventListener('activate', (/** @type {ExtendableEvent} */ event) => {
    event.waitUntil(
        caches
            .keys()
            .then((names) =>
                Promise.all(
                    names
                        .filter((name) => name.startsWith('talvero-') && name !== CACHE_NAME)
                        .map((name) => caches.delete(name)),
                ),
            )
            .then(() => worker.clients.claim()),
    );
});

worker.addEventListener('fetch', (/** @type {FetchEvent} */ event) => {
    const request = event.request;
    // Only this site's own files; anything else is left to the browser.
    if (request.method !== 'GET' || new URL(request.url).origin !== worker.location.origin) return;
    event.respondWith(
        caches
            .open(CACHE_NAME)
            .then((cache) => cache.match(request, { ignoreSearch: true }))
            .then((cached) => cached ?? fetch(request)),
    );
});
