#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the phone edition into build/web: the core in WebAssembly (preset web, in build/web-core),
# then the page's files, the core's module and the service worker (web/tools/assemble.mjs).
# Usage: tools/web-build.sh   (make web-build installs what it needs first)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# As for core-check: emscripten's cache in the build folder, Debian's prebuilt system libraries
# linked in rather than rebuilt, Debian's acorn for emscripten's optimiser.
export EM_CACHE=$root/build/web-core/em-cache
mkdir -p "$EM_CACHE"
ln -sfn /usr/share/emscripten/cache/sysroot "$EM_CACHE/sysroot"
cp -f /usr/share/emscripten/cache/sysroot_install.stamp "$EM_CACHE/"
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

cmake --preset web -DTALVERO_WERROR="${TALVERO_WERROR:-OFF}" >/dev/null
cmake --build --preset web
node web/tools/assemble.mjs --out build/web
