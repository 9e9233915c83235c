#!/usr/bin/env bash
# Installs the Debian packages OrvanLog needs, when any is missing.
# Usage: scripts/deps.sh [build|test]
set -euo pipefail

packages=(build-essential cmake pkg-config qt6-base-dev qt6-serialport-dev libqcustomplot-dev libgl-dev
          fonts-dejavu-core
          # The records archive's SQL drivers are plugins, loaded by name at run time.
          libqt6sql6-sqlite libqt6sql6-psql)
if [ "${1:-build}" = test ]; then
  # The archive's tests run a throw-away PostgreSQL server of their own.
  packages+=(googletest libgtest-dev xvfb xauth postgresql)
  # The Debian package and the checks a Debian user applies to it (tests/install/package_test.sh).
  packages+=(dpkg-dev fakeroot lintian desktop-file-utils libxml2-utils)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Run as root or install sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo=sudo
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
