#!/usr/bin/env bash
# The Debian package as a new user meets it: built from the build folder, checked as Debian
# checks packages, unpacked into a temporary root and run as an unprivileged user with a fresh
# home. Installed, the settings record lands in ~/.config/OrvanLog and a record saved to the
# default folder in ~/Documents/OrvanLog, with no error message; the same programs copied into a
# folder of their own stay portable and keep everything there.
# Usage: tests/install/package_test.sh [BUILD_FOLDER]     (default build-test)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build-test}

fail() { echo "package test: $*" >&2; exit 1; }

deb=$(scripts/package.sh "$build")
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"

# The gates a Debian user applies.
lintian --fail-on error "$deb" > "$work/lintian.txt" || { cat "$work/lintian.txt" >&2; fail "lintian reports errors"; }
dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/orvanlog.desktop" || fail "the desktop entry is not valid"
xmllint --noout "$work/root/usr/share/mime/packages/orvanlog.xml" || fail "the record type is not valid XML"
grep -q '<glob pattern="\*\.klv"/>' "$work/root/usr/share/mime/packages/orvanlog.xml" || fail "the record type has no *.klv glob"

# Root runs the programs as nobody, whose the unpacked root is not; anyone else gets a root
# that is not theirs to write.
if [ "$(id -u)" -eq 0 ]; then
  user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  give() { chown -R 65534:65534 "$@"; }
else
  user=()
  give() { :; }
  chmod -R a-w "$work/root"
fi

# Runs a program of the given folder as that user with the given home; stdout and stderr go to
# files named after the step.
run() {
  local step=$1 home=$2; shift 2
  mkdir -p "$work/run-$step"
  chmod 700 "$work/run-$step"
  give "$work/run-$step"
  env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$work/run-$step" QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 \
    "${user[@]}" "$@" > "$work/$step.out" 2> "$work/$step.err"
}

# Runs the window for a few seconds (its start-up takes well under one), then ends it as a
# session's end would; it must have written its settings record and shown no message.
run_window() {
  local step=$1 home=$2 settings=$3; shift 3
  run "$step" "$home" timeout 4 "$@" || [ $? -eq 124 ] || { cat "$work/$step.err" >&2; fail "$step: the window failed"; }
  ! grep -q '^orvanlog: ' "$work/$step.err" || { cat "$work/$step.err" >&2; fail "$step: the window showed a message"; }
  [ -s "$settings" ] || fail "$step: no settings record at $settings"
}

# Installed.
home="$work/home"
mkdir -p "$home"
give "$home"
bin="$work/root/usr/bin"
run cli-installed "$home" "$bin/orvanlog-cli" generate finished "$home/Documents/OrvanLog/first.klv" \
  || { cat "$work/cli-installed.err" >&2; fail "orvanlog-cli failed installed"; }
[ ! -s "$work/cli-installed.err" ] || { cat "$work/cli-installed.err" >&2; fail "orvanlog-cli wrote to stderr"; }
[ "$(stat -c %s "$home/Documents/OrvanLog/first.klv")" -eq 32768 ] || fail "no record in ~/Documents/OrvanLog"
run_window window-installed "$home" "$home/.config/OrvanLog/Ruta.CnF" "$bin/orvanlog" "$home/Documents/OrvanLog/first.klv"
[ "$(stat -c %s "$home/.config/OrvanLog/Ruta.CnF")" -eq 202 ] || fail "the settings record is not 202 bytes"
folder=$(dd if="$home/.config/OrvanLog/Ruta.CnF" bs=1 skip=80 count=80 2>/dev/null | sed 's/ *$//')
[ "$folder" = "$home/Documents/OrvanLog" ] || fail "the settings name '$folder' as record folder"
[ -z "$(find "$work/root" -name Ruta.CnF -o -name Datos)" ] || fail "the installed programs wrote beside themselves"

# Portable: the same programs and pictures in a folder of their own.
portable="$work/portable"
other="$work/home2"
mkdir -p "$portable" "$other"
cp "$bin"/orvanlog "$bin"/orvanlog-cli "$work/root/usr/share/orvanlog"/* "$portable"/
chmod -R u+w "$portable"
give "$portable" "$other"
run cli-portable "$other" "$portable/orvanlog-cli" generate finished "$portable/Datos/second.klv" \
  || { cat "$work/cli-portable.err" >&2; fail "orvanlog-cli failed portable"; }
[ -s "$portable/Datos/second.klv" ] || fail "no record in the portable Datos folder"
run_window window-portable "$other" "$portable/Ruta.CnF" "$portable/orvanlog"
[ ! -e "$other/.config/OrvanLog" ] && [ ! -e "$other/Documents" ] || fail "the portable programs wrote into the home"

echo "package test: $deb passed (lintian: $(grep -c '^W:' "$work/lintian.txt" || true) warnings, no errors)"
