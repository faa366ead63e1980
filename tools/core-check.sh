#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Qt-free core built three ways: with g++ for this machine, with em++ to WebAssembly run by
# node, and with mingw-w64 for Windows run by wine. The three golden traces must be the same
# bytes. Prints their length and the WebAssembly module's size.
# Usage: tools/core-check.sh   (make core-check installs what it needs first)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
flags=(-DTALVERO_WERROR="${TALVERO_WERROR:-OFF}")

# emscripten keeps its cache in the build folder; Debian's prebuilt system libraries are linked
# in rather than rebuilt. Debian's acorn for emscripten's optimiser, whatever node runs it.
export EM_CACHE=$root/build/core-wasm/em-cache
mkdir -p "$EM_CACHE"
ln -sfn /usr/share/emscripten/cache/sysroot "$EM_CACHE/sysroot"
cp -f /usr/share/emscripten/cache/sysroot_install.stamp "$EM_CACHE/"
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

for preset in core-native core-wasm core-mingw; do
    cmake --preset "$preset" "${flags[@]}" >/dev/null
    cmake --build --preset "$preset"
done

# wine: its own prefix here, no display, no prompts for Mono or Gecko, no debug chatter.
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
export WINEPREFIX=$root/build/core-mingw/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

native=build/core-native/golden-trace.txt
wasm=build/core-wasm/golden-trace.txt
windows=build/core-mingw/golden-trace.txt
./build/core-native/trace/golden_trace >"$native"
# Through a pipe, as a test harness reads it: node writes to a pipe asynchronously, so a module
# that exits early loses the end of its output there and nowhere else.
node build/core-wasm/trace/golden_trace.js | cat >"$wasm"
"$wine" build/core-mingw/trace/golden_trace.exe >"$windows" 2>build/core-mingw/wine.log ||
    { cat build/core-mingw/wine.log; exit 1; }

cmp "$native" "$wasm"
cmp "$native" "$windows"
module=build/core-wasm/trace/golden_trace
steps=$(tail -n 1 "$native" | sed -n 's/^golden trace: \([0-9]*\) steps.*/\1/p')
echo "golden trace, the same from all three builds: $steps steps, $(wc -l <"$native") lines, $(wc -c <"$native") bytes"
echo "WebAssembly module: $(wc -c <"$module.wasm") bytes (gzip -9: $(gzip -9c "$module.wasm" | wc -c)), its JavaScript $(wc -c <"$module.js") bytes (gzip -9: $(gzip -9c "$module.js" | wc -c))"
