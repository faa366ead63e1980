#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages from tools/debian-packages.txt that the given make targets need
# and that are missing. Does nothing (and needs no network) when all of them are present.
# Usage: tools/install-deps.sh TARGET...   (for example: run, test, lint, package)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
list="$here/debian-packages.txt"
[ $# -gt 0 ] || { echo "usage: $0 TARGET..." >&2; exit 2; }

missing=()
while read -r line; do
    line=${line%%#*}
    read -r pkg targets <<<"$line" || true
    [ -n "${pkg:-}" ] || continue
    wanted=no
    for target in "$@"; do
        case " $targets " in *" $target "*) wanted=yes ;; esac
    done
    [ "$wanted" = yes ] || continue
    # A nodejs from elsewhere (NodeSource) carries its own npm, which Debian's npm conflicts with.
    if [ "$pkg" = npm ] && command -v npm >/dev/null; then continue; fi
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$pkg")
done <"$list"

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages for $*: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Please install as root: ${missing[*]}" >&2; exit 1; }
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
