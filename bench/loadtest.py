#!/usr/bin/env python3
"""Replays a long synthetic feed through `quorvel --headless import` and
measures what a long run costs: wall time, lines per second, peak resident
memory (GNU time), resident memory through the run, and the time each tenth
of the tracked reports took (a flat cost per report keeps those tenths equal
while the map files grow).

  loadtest.py QUORVEL [--lines 1000000] [--stations 2000] [--tracked 8] [--workdir DIR] [--without-open-formats]
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import genfeed  # noqa: E402

PROBE = "quorvelhistory.mxf"  # one record per tracked report, never rewritten


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("quorvel")
    ap.add_argument("--lines", type=int, default=1000000)
    ap.add_argument("--stations", type=int, default=2000)
    ap.add_argument("--tracked", type=int, default=8)
    ap.add_argument("--workdir")
    ap.add_argument("--without-open-formats", action="store_true", help="GPX, KML and GeoJSON switched off")
    a = ap.parse_args()
    work = a.workdir or tempfile.mkdtemp(prefix="quorvel-load-")
    os.makedirs(work, exist_ok=True)
    sys.argv = ["genfeed", str(a.lines), str(a.stations), str(a.tracked), os.path.join(work, "quorvel.imp"),
                "--crlf", "--config", os.path.join(work, "quorvel.cfg")]
    genfeed.main()
    if a.without_open_formats:
        with open(os.path.join(work, "quorvel.cfg"), "a", newline="") as cfg:
            for key in ("CREATEMAPFILEGPX", "CREATEMAPFILEKML", "CREATEMAPFILEGEOJSON"):
                cfg.write('"%s",#FALSE#\r\n' % key)

    timing = os.path.join(work, "time.txt")
    start = time.monotonic()
    # Its report goes to a file: a pipe nobody reads would stall it once full.
    report = open(os.path.join(work, "report.txt"), "w+")
    proc = subprocess.Popen(["/usr/bin/time", "-v", "-o", timing, os.path.abspath(a.quorvel), "--headless",
                             "--workdir", work, "import"], stdout=report, stderr=subprocess.DEVNULL)
    samples = []  # (seconds, bytes of the probe file, resident kB)
    probe = os.path.join(work, PROBE)
    child = None
    while proc.poll() is None:
        time.sleep(0.5)
        if child is None:
            kids = subprocess.run(["pgrep", "-P", str(proc.pid)], capture_output=True, text=True).stdout.split()
            child = kids[0] if kids else None
        rss = 0
        try:
            with open("/proc/%s/status" % child) as f:
                rss = int(re.search(r"VmRSS:\s+(\d+)", f.read()).group(1))
        except (OSError, TypeError, AttributeError):
            pass
        size = os.path.getsize(probe) if os.path.exists(probe) else 0
        samples.append((time.monotonic() - start, size, rss))
    report.seek(0)
    out = report.read()
    wall = time.monotonic() - start
    with open(timing) as f:
        peak_kb = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", f.read()).group(1))
    with open(probe, "rb") as f:
        reports = f.read().count(b"\n")
    final = os.path.getsize(probe)
    replayed = re.search(r"Replayed (\d+) lines", out)

    print("lines replayed:      %s" % (replayed.group(1) if replayed else "?"))
    print("exit code:           %d" % proc.returncode)
    print("tracked reports:     %d (%s lines)" % (reports, PROBE))
    print("wall time:           %.1f s" % wall)
    print("lines per second:    %.0f" % (a.lines / wall))
    print("peak resident:       %.1f MB" % (peak_kb / 1024.0))
    rss = [s[2] for s in samples if s[2]]
    if rss:
        n = len(rss)
        print("resident at 10%% / 50%% / 90%% of the run: %.1f / %.1f / %.1f MB" %
              (rss[n // 10] / 1024.0, rss[n // 2] / 1024.0, rss[(9 * n) // 10] / 1024.0))
    # Seconds for each tenth of the tracked reports, from the probe file's growth.
    tenths = []
    last = 0.0
    for k in range(1, 11):
        goal = final * k / 10.0
        t = next((s[0] for s in samples if s[1] >= goal), wall)
        tenths.append(t - last)
        last = t
    print("seconds per tenth of the reports: " + " ".join("%.1f" % t for t in tenths))
    first, rest = tenths[0], tenths[-1]
    if first > 0:
        print("last tenth / first tenth: %.2f" % (rest / first))
    if proc.returncode != 0:
        sys.exit(1)


if __name__ == "__main__":
    main()
