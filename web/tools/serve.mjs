// SPDX-License-Identifier: GPL-3.0-or-later
// A tiny static server for build/web, on 127.0.0.1 only.
// `node web/tools/serve.mjs DIR [PORT]` serves DIR (port 0 picks a free one) and prints the address;
// tests import serve() and get {url, close()}.
import { createServer } from 'node:http';
import { createReadStream } from 'node:fs';
import { stat } from 'node:fs/promises';
import { extname, join, relative, resolve, sep, isAbsolute } from 'node:path';
import { fileURLToPath } from 'node:url';

/** @type {Readonly<Record<string, string>>} */
export const MIME_TYPES = Object.freeze({
    '.html': 'text/html; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.mjs': 'text/javascript; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.json': 'application/json; charset=utf-8',
    '.webmanifest': 'application/manifest+json; charset=utf-8',
    '.wasm': 'application/wasm',
    '.png': 'image/png',
    '.svg': 'image/svg+xml',
    '.ico': 'image/x-icon',
    '.txt': 'text/plain; charset=utf-8',
    '.csv': 'text/csv; charset=utf-8',
});

/**
 * The file below root that a request path names, or null when it names none (an escape, a bad
 * escape sequence, a NUL).
 * @param {string} root absolute folder
 * @param {string} urlPath the request's path, query already removed
 * @returns {string | null}
 */
export function fileForPath(root, urlPath) {
    let decoded;
    try {
        decoded = decodeURIComponent(urlPath);
    } catch {
        return null;
    }
    if (decoded.includes('\0') || decoded.includes('\\')) return null;
    if (decoded.endsWith('/')) decoded += 'index.html';
    const file = resolve(root, '.' + (decoded.startsWith('/') ? '' : '/') + decoded);
    const inside = relative(root, file);
    if (inside === '' || inside.startsWith('..' + sep) || inside === '..' || isAbsolute(inside)) {
        return null;
    }
    return file;
}

/**
 * Serves the folder root on 127.0.0.1.
 * @param {string} root
 * @param {number} [port] 0 (the default) picks a free port
 * @param {{onFile?: (file: string, bytes: number) => void}} [hooks] onFile hears of every file sent
 * @returns {Promise<{url: string, port: number, close: () => Promise<void>}>}
 */
export async function serve(root, port = 0, hooks = {}) {
    const folder = resolve(root);
    const server = createServer((request, response) => {
        const send = (/** @type {number} */ status, /** @type {string} */ text) => {
            response.writeHead(status, { 'Content-Type': 'text/plain; charset=utf-8' });
            response.end(text);
        };
        if (request.method !== 'GET' && request.method !== 'HEAD') {
            send(405, 'Method not allowed\n');
            return;
        }
        const path = new URL(request.url ?? '/', 'http://127.0.0.1').pathname;
        const file = fileForPath(folder, path);
        if (file === null) {
            send(404, 'Not found\n');
            return;
        }
        stat(file).then(
            (info) => {
                if (!info.isFile()) {
                    send(404, 'Not found\n');
                    return;
                }
                response.writeHead(200, {
                    'Content-Type': MIME_TYPES[extname(file).toLowerCase()] ?? 'application/octet-stream',
                    'Content-Length': info.size,
                    // Always revalidated, so a new sw.js and its files are seen as soon as they are published.
                    'Cache-Control': 'no-cache',
                    'X-Content-Type-Options': 'nosniff',
                });
                if (request.method === 'HEAD') {
                    response.end();
                    return;
                }
                hooks.onFile?.(file, info.size);
                createReadStream(file)
                    .on('error', () => response.destroy())
                    .pipe(response);
            },
            () => send(404, 'Not found\n'),
        );
    });
    await new Promise((done, fail) => {
        server.once('error', fail);
        server.listen(port, '127.0.0.1', () => done(undefined));
    });
    const address = server.address();
    const chosen = typeof address === 'object' && address !== null ? address.port : port;
    return {
        url: `http://127.0.0.1:${chosen}/`,
        port: chosen,
        close: () =>
            new Promise((done) => {
                server.close(() => done());
                // Keep-alive connections would hold the server open; a stopped server answers nothing.
                server.closeAllConnections();
            }),
    };
}

if (process.argv[1] && resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
    const [dir, portText = '8080'] = process.argv.slice(2);
    const port = Number(portText);
    if (!dir || !Number.isInteger(port) || port < 0 || port > 65535) {
        console.error('usage: node serve.mjs DIR [PORT]');
        process.exit(2);
    }
    const { url } = await serve(join(dir), port);
    console.log(`Talvero is served on ${url} (Ctrl+C stops it)`);
}
