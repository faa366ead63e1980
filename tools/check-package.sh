#!/usr/bin/env bash
# Checks the .deb that `make package` left in build/release: validates its desktop entry and
# metainfo, installs it with apt, looks at what dpkg installed, starts the installed program
# under Xvfb, ends it with SIGTERM and checks that it saved its settings. Removes the package
# again at the end, also when a check fails.
set -euo pipefail
cd "$(dirname "$0")/.."

app_id=org.example.Talvero

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
[[ $depends == *libqt6widgets6* ]] || fail "Depends does not name libqt6widgets6 (shlibdeps)"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section is not games"

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
grep -qF "<release version=\"$version\"" "$metainfo" ||
    fail "metainfo has no release $version"

echo "Installing the package with apt"
installed=yes
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "./$deb" >"$scratch/apt.log" 2>&1 ||
    { cat "$scratch/apt.log" >&2; fail "apt-get install"; }

echo "Checking the installed files"
files=$(dpkg -L talvero)
for path in /usr/bin/talvero \
    /usr/share/applications/$app_id.desktop \
    /usr/share/icons/hicolor/32x32/apps/$app_id.png \
    /usr/share/icons/hicolor/128x128/apps/$app_id.png \
    /usr/share/icons/hicolor/scalable/apps/$app_id.svg \
    /usr/share/metainfo/$app_id.metainfo.xml; do
    grep -qxF "$path" <<<"$files" || fail "dpkg -L talvero does not list $path"
    [ -f "$path" ] || fail "$path is listed but not there"
    echo "  $path"
done
file -b /usr/bin/talvero | grep -q ', stripped' || fail "/usr/bin/talvero is not stripped"

echo "Starting the installed program under Xvfb, then sending SIGTERM"
config=$scratch/config
mkdir "$config"
# The inner shell writes how the program ended to a file, which tells that apart from Xvfb
# failing to start.
# shellcheck disable=SC2016 # expanded by the inner shell
XDG_CONFIG_HOME=$config xvfb-run -a bash -c '
    /usr/bin/talvero &
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
