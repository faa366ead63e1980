// SPDX-License-Identifier: GPL-3.0-or-later
// Assembles the web edition in build/web: the page's files from web/app, the core's module from the
// emscripten build, and sw.js with this version's cache name and file list.
// `node web/tools/assemble.mjs [--out DIR] [--core DIR] [--app DIR] [--version X.Y.Z]`
import { createHash } from 'node:crypto';
import { copyFile, mkdir, readdir, readFile, rm, stat, writeFile } from 'node:fs/promises';
import { dirname, join, relative, resolve, sep } from 'node:path';
import { fileURLToPath } from 'node:url';

const repoRoot = resolve(dirname(fileURLToPath(import.meta.url)), '..', '..');
export const DEFAULTS = Object.freeze({
    app: join(repoRoot, 'web', 'app'),
    core: join(repoRoot, 'build', 'web-core', 'web', 'core'),
    out: join(repoRoot, 'build', 'web'),
});
export const CORE_FILES = Object.freeze(['talvero_core.js', 'talvero_core.wasm']);
const NAME_LINE = "const CACHE_NAME = 'talvero-unassembled';";
const FILES_LINE = 'const FILES = /** @type {string[]} */ ([]);';

/**
 * The version in the project() call of the top CMakeLists.txt, the one place that holds it.
 * @param {string} [cmakeLists]
 */
export async function projectVersion(cmakeLists = join(repoRoot, 'CMakeLists.txt')) {
    const text = await readFile(cmakeLists, 'utf8');
    const match = /project\(\s*Talvero\s+VERSION\s+([0-9]+(?:\.[0-9]+)*)/.exec(text);
    if (!match) throw new Error(`no project(Talvero VERSION ...) in ${cmakeLists}`);
    return match[1];
}

/**
 * Every file below dir, as paths relative to it with forward slashes, sorted.
 * @param {string} dir
 * @returns {Promise<string[]>}
 */
async function listFiles(dir) {
    /** @type {string[]} */
    const found = [];
    for (const entry of await readdir(dir, { withFileTypes: true })) {
        const path = join(dir, entry.name);
        if (entry.isDirectory()) {
            for (const inner of await listFiles(path)) found.push(`${entry.name}/${inner}`);
        } else if (entry.isFile()) {
            found.push(entry.name);
        }
    }
    return found.sort();
}

/**
 * The cache name: the version and the first 12 hex digits of a SHA-256 over every file's name
 * and bytes, so that any changed file makes a new cache.
 * @param {string} version
 * @param {{name: string, bytes: Uint8Array}[]} files sorted by name
 */
export function cacheName(version, files) {
    const hash = createHash('sha256');
    for (const { name, bytes } of files) {
        hash.update(`${name}\0${bytes.length}\0`);
        hash.update(bytes);
    }
    return `talvero-${version}-${hash.digest('hex').slice(0, 12)}`;
}

/**
 * Writes the web edition into out (emptied first) and answers its cache name and file list.
 * @param {{app?: string, core?: string, out?: string, version?: string}} [options]
 * @returns {Promise<{out: string, cacheName: string, files: string[]}>}
 */
export async function assemble(options = {}) {
    const app = resolve(options.app ?? DEFAULTS.app);
    const core = resolve(options.core ?? DEFAULTS.core);
    const out = resolve(options.out ?? DEFAULTS.out);
    const version = options.version ?? (await projectVersion());
    if (out === resolve('/') || out === repoRoot || app.startsWith(out + sep) || app === out) {
        throw new Error(`refusing to empty ${out}`);
    }
    for (const name of CORE_FILES) {
        const info = await stat(join(core, name)).catch(() => null);
        if (!info?.isFile()) {
            throw new Error(`${join(core, name)} is missing: build it with cmake --preset web && cmake --build --preset web`);
        }
    }
    const template = await readFile(join(app, 'sw.js'), 'utf8');
    if (template.split(NAME_LINE).length !== 2 || template.split(FILES_LINE).length !== 2) {
        throw new Error(`${join(app, 'sw.js')} lacks its cache name or file list line`);
    }

    /** @type {Map<string, string>} name in build/web → source file */
    const sources = new Map();
    for (const name of await listFiles(app)) {
        // The service worker is written below; type declarations are for the checker only.
        if (name === 'sw.js' || name.endsWith('.d.ts')) continue;
        sources.set(name, join(app, name));
    }
    for (const name of CORE_FILES) sources.set(name, join(core, name));
    const names = [...sources.keys()].sort();
    const files = await Promise.all(
        names.map(async (name) => ({ name, bytes: new Uint8Array(await readFile(/** @type {string} */ (sources.get(name)))) })),
    );
    const name = cacheName(version, files);
    // './' is how the start address and a reload ask for index.html.
    const precached = names.includes('index.html') ? ['./', ...names] : names;

    await rm(out, { recursive: true, force: true });
    for (const file of names) {
        const target = join(out, ...file.split('/'));
        await mkdir(dirname(target), { recursive: true });
        await copyFile(/** @type {string} */ (sources.get(file)), target);
    }
    const worker = template
        .replace(NAME_LINE, `const CACHE_NAME = ${JSON.stringify(name)};`)
        .replace(FILES_LINE, `const FILES = ${JSON.stringify(precached)};`);
    await writeFile(join(out, 'sw.js'), worker);
    return { out, cacheName: name, files: [...precached, 'sw.js'] };
}

/** @param {string[]} args */
function parseArguments(args) {
    /** @type {Record<string, string>} */
    const options = {};
    for (let i = 0; i < args.length; i += 2) {
        const key = args[i].replace(/^--/, '');
        if (!['out', 'core', 'app', 'version'].includes(key) || args[i + 1] === undefined) {
            console.error('usage: node assemble.mjs [--out DIR] [--core DIR] [--app DIR] [--version X.Y.Z]');
            process.exit(2);
        }
        options[key] = args[i + 1];
    }
    return options;
}

if (process.argv[1] && resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
    try {
        const result = await assemble(parseArguments(process.argv.slice(2)));
        console.log(`${relative(process.cwd(), result.out) || '.'}: ${result.files.length} files, cache ${result.cacheName}`);
    } catch (error) {
        console.error(`assemble: ${error instanceof Error ? error.message : error}`);
        process.exit(1);
    }
}
