#!/usr/bin/env bash
# Builds the Release benchmarks and prints the figures of the README's table:
# the headless replay of untracked and of tracked lines and the live tracked
# reports from a loopback APRS-IS server, each as a ratio to direwolf's
# decode_aprs on the same lines; the classifier alone against decode_aprs;
# one tracked report against map files of 0 to 100 000 lines; and the replay
# of a long feed through the headless import (time per tenth, peak memory).
#   bench/run.sh [replay lines, default 1000000]
# Needs `apt-get install direwolf` for the comparison (skipped without it).
set -euo pipefail
cd "$(dirname "$0")/.."
lines=${1:-1000000}
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DQUORVEL_BENCH=ON >/dev/null
cmake --build build-release -j "$(nproc)" --target quorvel quorvel_bench
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

echo "== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "== line rates against decode_aprs on the same lines (best of 3 runs each)"
if command -v decode_aprs >/dev/null; then
  python3 bench/ratios.py build-release/quorvel
  echo "== the same without the GPX, KML and GeoJSON files"
  python3 bench/ratios.py build-release/quorvel --without-open-formats --tracked 10000 --live 5000 --runs 2
fi

echo "== classifier with every decoder vs decode_aprs, 200 000 lines, 2 000 stations"
python3 bench/genfeed.py 200000 2000 0 "$out/feed.txt"
if command -v decode_aprs >/dev/null; then
  /usr/bin/time -f "%e %U %S" -o "$out/da.txt" decode_aprs <"$out/feed.txt" >/dev/null 2>&1
  read -r da_wall da_user da_sys <"$out/da.txt"
  python3 -c "w,u,s=$da_wall,$da_user,$da_sys; print('decode_aprs: %.0f lines/s wall, %.0f lines/s CPU' % (200000/w, 200000/(u+s)))"
fi
# The classifier's scratch files go to a working directory in memory, so that
# the figure is the program's own and not the disk's.
for dir in /dev/shm "${TMPDIR:-/tmp}"; do
  TMPDIR=$dir QUORVEL_BENCH_FEED="$out/feed.txt" build-release/bench/quorvel_bench \
    --benchmark_filter='BM_ClassifierOnFeed/1$' --benchmark_min_time=3 --benchmark_format=json >"$out/cls.json"
  python3 - "$out/cls.json" "$dir" <<'PY'
import json, sys
b = json.load(open(sys.argv[1]))["benchmarks"][0]
print("quorvel classifier (working directory in %s): %.0f lines/s wall, %.0f lines/s CPU"
      % (sys.argv[2], 1e9 / b["real_time"], 1e9 / b["cpu_time"]))
PY
done

echo "== the same with compressed reports, objects, items, other GNSS talkers and !DAO! mixed in"
python3 bench/genfeed.py 200000 2000 0 "$out/feed-new.txt" --new-kinds
TMPDIR=/dev/shm QUORVEL_BENCH_FEED="$out/feed-new.txt" build-release/bench/quorvel_bench \
  --benchmark_filter=BM_ClassifierOnFeed --benchmark_min_time=3 --benchmark_format=json >"$out/cls.json"
python3 - "$out/cls.json" <<'PY'
import json, sys
for b in json.load(open(sys.argv[1]))["benchmarks"]:
    switches = "on" if b["name"].endswith("/1") else "off"
    print("new kinds switched %s: %.0f lines/s CPU, %.2f us per line" % (switches, 1e9 / b["cpu_time"], b["cpu_time"] / 1000))
PY

echo "== one tracked report, every family on, against map files of N lines"
build-release/bench/quorvel_bench --benchmark_filter=BM_SavefilesOneReport --benchmark_min_time=2 2>/dev/null |
  grep BM_

echo "== replay of $lines lines through quorvel --headless import"
python3 bench/loadtest.py build-release/quorvel --lines "$lines" --workdir "$out/load"
