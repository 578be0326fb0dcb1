#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (as root), builds Quorvel and replays the
# bundled sample feed headless into a fresh temporary working directory.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs" --target quorvel
workdir=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-demo.XXXXXX")
cp examples/* "$workdir"/
echo "Replaying examples/quorvel.imp in $workdir"
./build/quorvel --headless --workdir "$workdir" import
echo
echo "Working directory $workdir now holds:"
ls -l "$workdir"
