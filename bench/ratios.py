#!/usr/bin/env python3
"""Quorvel's line rates as ratios to decode_aprs (Debian's direwolf package)
on the same generated lines, each taken as the best of a few runs so that
other work on a shared machine weighs as little as it can:

  untracked  `quorvel --headless import` of mixed lines from 2 000 stations
             of which none is tracked: no map file is written;
  tracked    the same replay where every line is a report of one of two
             tracked stations, every map-file family on;
  live       those reports sent by an APRS-IS server on the loopback to
             `quorvel --headless --telnet`, where each report also rebuilds
             the "now" files; timed from the first line sent to the last
             record in quorvelhistory.mxf.

  ratios.py QUORVEL [--untracked 100000] [--tracked 20000] [--live 20000] [--runs 3]
            [--without-open-formats]   (GPX, KML and GeoJSON switched off)
"""
import argparse
import os
import re
import resource
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import genfeed  # noqa: E402

PROBE = "quorvelhistory.mxf"  # one record per tracked report


OPEN_FORMATS = ("CREATEMAPFILEGPX", "CREATEMAPFILEKML", "CREATEMAPFILEGEOJSON")
WITHOUT_OPEN_FORMATS = False


def gen(lines, stations, tracked, out, every=10, config=None, telnet=None):
    argv = ["genfeed", str(lines), str(stations), str(tracked), out, "--crlf", "--every", str(every)]
    if config:
        argv += ["--config", config]
    if telnet:
        argv += ["--telnet", telnet]
    saved, sys.argv = sys.argv, argv
    try:
        genfeed.main()
    finally:
        sys.argv = saved
    if config and WITHOUT_OPEN_FORMATS:
        with open(config, "a", newline="") as cfg:
            for key in OPEN_FORMATS:
                cfg.write('"%s",#FALSE#\r\n' % key)


def timed(cmd, stdin=None, cwd=None):
    """Wall and CPU seconds of one run of cmd (its children included)."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.monotonic()
    with open(stdin, "rb") if stdin else open(os.devnull, "rb") as inp:
        r = subprocess.run(cmd, stdin=inp, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, cwd=cwd)
    wall = time.monotonic() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    if r.returncode != 0:
        raise SystemExit("%s failed with %d" % (cmd[0], r.returncode))
    return wall, cpu


def best(runs, fn):
    results = [fn() for _ in range(runs)]
    return min(w for w, _ in results), min(c for _, c in results)


def decode_aprs(feed, runs):
    return best(runs, lambda: timed(["decode_aprs"], stdin=feed))


def replay(quorvel, feed, cfg, runs, scratch):
    def once():
        work = tempfile.mkdtemp(dir=scratch)
        shutil.copy(feed, os.path.join(work, "quorvel.imp"))
        shutil.copy(cfg, os.path.join(work, "quorvel.cfg"))
        try:
            return timed([quorvel, "--headless", "--workdir", work, "import"])
        finally:
            shutil.rmtree(work, ignore_errors=True)

    return best(runs, once)


def count_lines(path):
    try:
        with open(path, "rb") as f:
            return f.read().count(b"\n")
    except OSError:
        return 0


def cpu_of(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def live(quorvel, lines, scratch):
    """Seconds (wall, quorvel's CPU) for `lines` tracked reports over APRS-IS."""
    server = socket.socket()
    server.bind(("127.0.0.1", 0))
    server.listen(1)
    port = server.getsockname()[1]
    work = tempfile.mkdtemp(dir=scratch)
    feed = os.path.join(work, "feed.txt")
    gen(lines, 2, 2, feed, every=1, config=os.path.join(work, "quorvel.cfg"), telnet="127.0.0.1:%d" % port)
    with open(feed, "rb") as f:
        data = f.read()
    os.remove(feed)
    proc = subprocess.Popen([quorvel, "--headless", "--telnet", "--workdir", work], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        server.settimeout(30)
        conn, _ = server.accept()
        conn.settimeout(30)
        login = b""
        while not login.endswith(b"\n"):
            part = conn.recv(4096)
            if not part:
                raise SystemExit("quorvel closed the connection before logging in")
            login += part
        cpu0 = cpu_of(proc.pid)
        start = time.monotonic()
        sender = threading.Thread(target=conn.sendall, args=(data,), daemon=True)
        sender.start()
        probe = os.path.join(work, PROBE)
        deadline = start + 600
        while count_lines(probe) < lines:
            if proc.poll() is not None or time.monotonic() > deadline:
                raise SystemExit("live run stopped at %d of %d reports" % (count_lines(probe), lines))
            time.sleep(0.02)
        wall = time.monotonic() - start
        cpu = cpu_of(proc.pid) - cpu0
        errors = os.path.exists(os.path.join(work, "quorvel.err"))
        conn.close()
        return wall, cpu, errors
    finally:
        proc.send_signal(signal.SIGTERM)
        try:
            proc.wait(30)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
        server.close()
        shutil.rmtree(work, ignore_errors=True)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("quorvel")
    ap.add_argument("--untracked", type=int, default=100000)
    ap.add_argument("--tracked", type=int, default=20000)
    ap.add_argument("--live", type=int, default=20000)
    ap.add_argument("--runs", type=int, default=3)
    ap.add_argument("--without-open-formats", action="store_true")
    ap.add_argument("--scratch", help="where the working directories go (default: the temporary directory)")
    a = ap.parse_args()
    global WITHOUT_OPEN_FORMATS
    WITHOUT_OPEN_FORMATS = a.without_open_formats
    quorvel = os.path.abspath(a.quorvel)
    if not shutil.which("decode_aprs"):
        raise SystemExit("decode_aprs not found: apt-get install direwolf")
    scratch = tempfile.mkdtemp(prefix="quorvel-ratios-", dir=a.scratch)
    try:
        rows = []
        feed, cfg = os.path.join(scratch, "untracked.txt"), os.path.join(scratch, "untracked.cfg")
        gen(a.untracked, 2000, 0, feed, config=cfg)
        da = decode_aprs(feed, a.runs)
        qv = replay(quorvel, feed, cfg, a.runs, scratch)
        rows.append(("untracked replay", a.untracked, da, qv, 1.5))

        feed, cfg = os.path.join(scratch, "tracked.txt"), os.path.join(scratch, "tracked.cfg")
        gen(a.tracked, 2, 2, feed, every=1, config=cfg)
        da = decode_aprs(feed, a.runs)
        qv = replay(quorvel, feed, cfg, a.runs, scratch)
        rows.append(("tracked replay", a.tracked, da, qv, 0.1))

        gen(a.live, 2, 2, feed, every=1)  # the lines the live server sends
        da = decode_aprs(feed, a.runs)
        results = [live(quorvel, a.live, scratch) for _ in range(a.runs)]
        if any(r[2] for r in results):
            print("note: the live run logged errors in quorvel.err")
        qv = (min(r[0] for r in results), min(r[1] for r in results))
        rows.append(("live tracked (APRS-IS)", a.live, da, qv, 0.03))

        print("%-24s %8s %14s %14s %11s %8s %6s %s" %
              ("", "lines", "decode_aprs/s", "quorvel/s", "us/line", "ratio", "goal", ""))
        for name, n, (dw, dc), (qw, qc), goal in rows:
            ratio = (n / qw) / (n / dw)
            print("%-24s %8d %14.0f %14.0f %11.1f %7.3fx %5.2fx %s   (CPU: %.0f vs %.0f lines/s, %.3fx)" %
                  (name, n, n / dw, n / qw, 1e6 * qw / n, ratio, goal, "met" if ratio >= goal else "MISSED",
                   n / dc, n / qc, dc / qc))
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
