#!/usr/bin/env bash
# Builds the Debian package of OrvanLog from the test build that scripts/test.sh made (nothing is
# compiled a second time) and prints the package's path.
# Usage: scripts/package.sh [BUILD_FOLDER]     (default build-test)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-test}
[ -f "$build/CMakeCache.txt" ] || { echo "package.sh: no build in $build; run scripts/test.sh first" >&2; exit 1; }
command -v dpkg-shlibdeps >/dev/null || { echo "package.sh: dpkg-shlibdeps is missing; run scripts/deps.sh test" >&2; exit 1; }

# Configuring writes the packaging rules into a build made before them; the programs, pictures,
# icons and manual pages are the build's (made now only if the build lacks them).
cmake -S . -B "$build" >/dev/null
cmake --build "$build" --target orvanlog orvanlog-cli klv-emulator orvan-artwork-files orvan-man-pages orvan-changelog >/dev/null
# CPack installs them into a staging folder and packs it.
rm -f "$build"/orvanlog_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/orvanlog_*.deb)
echo "$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")"
