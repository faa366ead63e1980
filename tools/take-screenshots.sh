#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the README's screenshots of both pages after a roll, in a real X window under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshots}
mkdir -p "$out"
cmake --preset release >/dev/null
cmake --build --preset release --target talvero_screenshot
xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" ./build/release/tools/talvero_screenshot "$out"
echo "Screenshots written to $out"
