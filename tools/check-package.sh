#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the .deb that `make package` left in build/release: its control fields and version,
# lintian (no errors, no warnings), its desktop entry and metainfo; installs it with apt, looks
# at what dpkg installed, starts the installed program under Xvfb, ends it with SIGTERM and
# checks that it saved its settings. Removes the package again at the end, also when a check
# fails.
set -euo pipefail
cd "$(dirname "$0")/.."

# Set once, in the top CMakeLists.txt.
app_id=$(sed -n 's/^set(TALVERO_APP_ID \([^)]*\))$/\1/p' CMakeLists.txt)
[ -n "$app_id" ] || { echo "FAILED: no TALVERO_APP_ID in CMakeLists.txt" >&2; exit 1; }

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

shopt -s nullglob
debs=(build/release/talvero_*.deb)
shopt -u nullglob
[ ${#debs[@]} -gt 0 ] || fail "no build/release/talvero_*.deb; run 'make package' first"
# A version change leaves the older packages behind; the newest is the one just built.
deb=${debs[0]}
for candidate in "${debs[@]}"; do
    if [ "$candidate" -nt "$deb" ]; then deb=$candidate; fi
done
echo "Package: $deb"

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || fail "needs root or sudo to install the package"
    sudo="sudo"
fi

# Removing an installed talvero afterwards would change the machine, so leave that to the user.
case $(dpkg-query -W -f='${Status}' talvero 2>/dev/null || true) in
"" | *not-installed | *config-files) ;;
*) fail "talvero is already installed; remove it first (apt-get remove talvero)" ;;
esac

scratch=$(mktemp -d)
installed=no
cleanup() {
    rm -rf "$scratch"
    if [ "$installed" = yes ]; then
        echo "Removing the package again"
        DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -q talvero >/dev/null
    fi
}
trap cleanup EXIT

echo "Checking the control fields"
version=$(dpkg-deb -f "$deb" Version)
depends=$(dpkg-deb -f "$deb" Depends)
echo "  Version: $version"
echo "  Depends: $depends"
# The version is set once, on the project() line; the package adds a Debian revision.
project_version=$(sed -n 's/^project(Talvero VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
[ -n "$project_version" ] || fail "no version on the project() line of CMakeLists.txt"
if [ "${version%-*}" != "$project_version" ] || ! [[ ${version##*-} =~ ^[0-9]+$ ]]; then
    fail "package version $version is not $project_version with a Debian revision"
fi
[[ $depends == *libqt6widgets6* ]] || fail "Depends does not name libqt6widgets6 (shlibdeps)"
# The window's texts are laid out for Liberation Sans; other faces make them overlap.
grep -qE '(^|, )fonts-liberation2(,|$| )' <<<"$depends" || fail "Depends does not name fonts-liberation2"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section is not games"

echo "Running lintian"
lintian_status=0
lintian -I --pedantic --fail-on error,warning "$deb" >"$scratch/lintian.log" 2>&1 || lintian_status=$?
grep -v '^running with root privileges' "$scratch/lintian.log" | sed 's/^/  /' || true
[ "$lintian_status" -eq 0 ] || fail "lintian reports errors or warnings (status $lintian_status)"

echo "Validating the desktop entry and metainfo inside the package"
dpkg-deb -x "$deb" "$scratch/root"
desktop=$scratch/root/usr/share/applications/$app_id.desktop
metainfo=$scratch/root/usr/share/metainfo/$app_id.metainfo.xml
[ -f "$desktop" ] || fail "no $app_id.desktop in the package"
[ -f "$metainfo" ] || fail "no $app_id.metainfo.xml in the package"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
# The whole tree, too: that also finds the desktop entry the metainfo launches.
appstreamcli validate-tree --no-net "$scratch/root" >"$scratch/tree.log" 2>&1 ||
    { cat "$scratch/tree.log" >&2; fail "appstreamcli validate-tree"; }
# The metainfo's release comes from the project version, as does the package's.
grep -qF "<release version=\"$project_version\"" "$metainfo" ||
    fail "metainfo has no release $project_version"
grep -qF "<project_license>GPL-3.0-or-later</project_license>" "$metainfo" ||
    fail "metainfo does not give the licence GPL-3.0-or-later"

echo "Checking the documents inside the package"
doc=$scratch/root/usr/share/doc/talvero
[ -f "$doc/copyright" ] || fail "no /usr/share/doc/talvero/copyright"
grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    "$doc/copyright" || fail "copyright is not in the machine-readable format 1.0"
grep -qx 'License: GPL-3+' "$doc/copyright" || fail "copyright does not name GPL-3+"
[ -f "$doc/changelog.Debian.gz" ] || fail "no /usr/share/doc/talvero/changelog.Debian.gz"
gunzip -c "$doc/changelog.Debian.gz" >"$scratch/changelog"
changelog_version=$(dpkg-parsechangelog -l "$scratch/changelog" -S Version)
[ "$changelog_version" = "$version" ] ||
    fail "changelog.Debian starts at $changelog_version, the package is $version"
man_page=$scratch/root/usr/share/man/man6/talvero.6.gz
[ -f "$man_page" ] || fail "no manual page /usr/share/man/man6/talvero.6.gz"
# Every section the page promises, and the settings file with each key it holds.
# Unhyphenated, so that no word is split at a line end.
man_text=$(LC_ALL=C.UTF-8 MANWIDTH=100 MANROFFOPT=-rHY=0 man -l "$man_page" 2>/dev/null)
for word in NAME SYNOPSIS DESCRIPTION KEYS FILES SIGNALS 'SEE ALSO' \
    .config/Talvero/Talvero.conf XDG_CONFIG_HOME Setup Font \
    Würfelanzahl Augen OptionWurf OptionWurf2 Check_90Grad \
    FontName FontBold FontItalic FontSize Alt+S SIGTERM; do
    grep -qF -- "$word" <<<"$man_text" || fail "the manual page does not mention $word"
done
echo "  copyright, changelog.Debian.gz ($changelog_version), talvero.6.gz"

echo "Installing the package with apt"
installed=yes
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "./$deb" >"$scratch/apt.log" 2>&1 ||
    { cat "$scratch/apt.log" >&2; fail "apt-get install"; }

echo "Checking the installed files"
files=$(dpkg -L talvero)
for path in /usr/games/talvero \
    /usr/share/applications/$app_id.desktop \
    /usr/share/icons/hicolor/32x32/apps/$app_id.png \
    /usr/share/icons/hicolor/128x128/apps/$app_id.png \
    /usr/share/icons/hicolor/scalable/apps/$app_id.svg \
    /usr/share/metainfo/$app_id.metainfo.xml \
    /usr/share/man/man6/talvero.6.gz \
    /usr/share/doc/talvero/copyright \
    /usr/share/doc/talvero/changelog.Debian.gz; do
    grep -qxF "$path" <<<"$files" || fail "dpkg -L talvero does not list $path"
    [ -f "$path" ] || fail "$path is listed but not there"
    echo "  $path"
done
# Debian's policy puts games in /usr/games.
! grep -q '^/usr/bin/' <<<"$files" || fail "the package installs into /usr/bin"
file -b /usr/games/talvero | grep -q ', stripped' || fail "/usr/games/talvero is not stripped"

echo "Starting the installed program under Xvfb, then sending SIGTERM"
config=$scratch/config
mkdir "$config"
# The inner shell writes how the program ended to a file, which tells that apart from Xvfb
# failing to start.
# shellcheck disable=SC2016 # expanded by the inner shell
XDG_CONFIG_HOME=$config xvfb-run -a bash -c '
    /usr/games/talvero &
    pid=$!
    sleep 3
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid"
        echo "ended before SIGTERM with status $?" >"$1"
        exit 0
    fi
    kill -TERM "$pid"
    wait "$pid"
    echo "exit status $?" >"$1"
' check "$scratch/outcome" 2>"$scratch/stderr" || true
if [ -s "$scratch/stderr" ]; then
    echo "  standard error of the run:"
    sed 's/^/    /' "$scratch/stderr"
fi
[ -f "$scratch/outcome" ] || fail "the program did not run (Xvfb?)"
outcome=$(cat "$scratch/outcome")
[ "$outcome" = "exit status 0" ] || fail "talvero after SIGTERM: $outcome"
echo "  exit status 0"

conf=$config/Talvero/Talvero.conf
[ -f "$conf" ] || fail "no $conf after SIGTERM"
grep -qx '\[Setup\]' "$conf" || fail "$conf has no [Setup] section"
# A fresh start has the default number of sides, which is what the window saved.
grep -qx 'Augen=6' "$conf" || fail "$conf does not hold the default Augen=6"
echo "  $conf has [Setup] with Augen=6"

echo "Package check passed"
