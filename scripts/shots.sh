#!/usr/bin/env bash
# Saves pictures of the graph window (alarms in Spanish and English, zoomed to hours, ten samples,
# a wrapped circular record, a spike whole and zoomed on screen and on paper, an empty record)
# into a folder, for a person to look at. Usage: scripts/shots.sh [FOLDER] (default build-shots/pictures)
set -euo pipefail
cd "$(dirname "$0")/.."
folder=$(realpath -m "${1:-build-shots/pictures}")
cmake -S . -B build-shots -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-shots -j"$(nproc)" --target graph_shots
mkdir -p "$folder"
QT_QPA_PLATFORM=offscreen ORVAN_SHOTS="$folder" build-shots/bin/graph_shots
echo "pictures in $folder"
