#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# `make test` as a newcomer runs it on a fresh Debian 12: a minimal root made with debootstrap
# (git, make, sudo and ca-certificates, nothing else), an ordinary user with sudo, a clean clone
# of HEAD in their home, then `make test` there exactly as the README says. A package that a test
# needs and no make target installs fails here, whatever the machine running this has.
# Prints the packages `make test` installed and how long each step took. Needs root.
#
# FRESH_MIRROR chooses the Debian mirror; FRESH_KEEP=1 keeps the root for a look afterwards;
# FRESH_TARGETS runs other make targets there instead of `test`, one or several in one make
# (say, `core-check`, or "test web-test" as CI has it).
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

if [ "$(id -u)" -ne 0 ]; then
    echo "fresh-check needs root: debootstrap, chroot and mounts. Run it as root (sudo make fresh-check)." >&2
    exit 1
fi

mirror=${FRESH_MIRROR:-http://deb.debian.org/debian}
suite=bookworm
user=newcomer
targets=${FRESH_TARGETS:-test}
parent=${FRESH_PARENT:-/var/tmp}
root=$(mktemp -d "$parent/talvero-fresh.XXXXXX")
chmod 0755 "$root" # it becomes /, which everybody must be able to enter
steps=()

# The mounts live in a mount namespace of their own and vanish with it, so nothing below the
# root is a host folder by the time it is removed; the check stays in case it ever were.
cleanup() {
    if [ "${FRESH_KEEP:-0}" = 1 ]; then
        echo "The fresh root stays in $root"
    elif findmnt -rn -o TARGET | grep -q "^$root"; then
        echo "Something is still mounted below $root; it is left in place." >&2
    else
        rm -rf --one-file-system "$root"
    fi
}
trap cleanup EXIT

step() {
    local name=$1
    shift
    echo "== $name"
    local start=$SECONDS rc=0
    "$@" || rc=$?
    steps+=("$(printf '%-32s %5d s' "$name" $((SECONDS - start)))")
    return "$rc"
}

in_root() {
    unshare --mount --propagation private -- bash -euo pipefail -c '
        root=$1
        shift
        mount -t proc proc "$root/proc"
        mount -t sysfs sysfs "$root/sys"
        mount --rbind /dev "$root/dev"
        exec chroot "$root" "$@"' in_root "$root" "$@"
}

packages_in_root() {
    chroot "$root" dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | awk '$1 == "ii" { print $2 }' | sort
}

make_root() {
    debootstrap --variant=minbase --include=git,make,sudo,ca-certificates "$suite" "$root" \
        "$mirror" >"$root.debootstrap.log" 2>&1 || {
        tail -n 40 "$root.debootstrap.log" >&2
        rm -f "$root.debootstrap.log"
        return 1
    }
    rm -f "$root.debootstrap.log"
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    # Certificate authorities this machine's site added (a proxy's, say) are trusted in the fresh
    # root too, as on any machine set up there; npm reaches its registry only through them.
    if compgen -G '/usr/local/share/ca-certificates/*.crt' >/dev/null; then
        cp /usr/local/share/ca-certificates/*.crt "$root/usr/local/share/ca-certificates/"
        chroot "$root" update-ca-certificates >/dev/null
    fi
    echo "127.0.1.1 $(hostname)" >>"$root/etc/hosts"
}

add_user_and_clone() {
    chroot "$root" useradd --create-home --shell /bin/bash "$user"
    echo "$user ALL=(ALL) NOPASSWD: ALL" >"$root/etc/sudoers.d/$user"
    chmod 0440 "$root/etc/sudoers.d/$user"
    git clone -q --no-hardlinks "$repo" "$root/home/$user/talvero"
    echo "HEAD: $(git -C "$root/home/$user/talvero" log --oneline -1)"
    chroot "$root" chown -R "$user:$user" "/home/$user/talvero"
}

make_test() {
    in_root runuser -u "$user" -- env -i HOME="/home/$user" USER="$user" LANG=C.UTF-8 \
        PATH=/usr/local/bin:/usr/bin:/bin TERM=dumb \
        NODE_EXTRA_CA_CERTS=/etc/ssl/certs/ca-certificates.crt \
        TARGETS="$targets" bash -c 'cd ~/talvero && make $TARGETS'
}

echo "Fresh root: $root ($suite from $mirror)"
tools/install-deps.sh fresh-check
step "debootstrap (minbase)" make_root
packages_in_root >"$root.before"
step "user and clean clone of HEAD" add_user_and_clone
status=0
step "make $targets" make_test || status=$?
packages_in_root >"$root.after"

installed=$(comm -13 "$root.before" "$root.after")
rm -f "$root.before" "$root.after"
echo "== What make $targets installed: $(wc -w <<<"$installed") packages"
fmt -w 100 <<<"$installed"
echo "== Steps"
printf '%s\n' "${steps[@]}"
if [ "$status" -ne 0 ]; then
    echo "FAILED: make $targets on a fresh Debian 12 (exit $status)" >&2
    exit "$status"
fi
echo "fresh-check: make $targets passed on a fresh Debian 12"
