#!/usr/bin/env python3
"""Writes a synthetic received feed: TNC2 monitor lines of every kind Quorvel
decodes (plain and time-stamped positions, Mic-E, GGA, RMC, waypoint
sentences) and some it only passes by (status, weather, messages).

  genfeed.py LINES STATIONS TRACKED OUT [--config CFG] [--new-kinds] [--every N]

--new-kinds mixes in compressed positions, objects, items, sentences of other
GNSS talkers and !DAO! comments (without it the feed is the same as ever).

Stations are N0Q0..; the first TRACKED of them send every Nth line (every
tenth by default), always from a new position, so the map files of a long
feed grow to about LINES/N records. With --config a quorvel.cfg is written that tracks those stations
in slots 1.. and turns every map-file family on."""
import argparse
import random


def nmea(body):
    s = 0
    for c in body.encode():
        s ^= c
    return "$%s*%02X" % (body, s)


def dm(value, width):
    deg = int(value)
    minutes = (value - deg) * 60
    return "%0*d%05.2f" % (width, deg, minutes)


def dm4(value, width):
    deg = int(value)
    minutes = (value - deg) * 60
    return "%0*d%07.4f" % (width, deg, minutes)


def mice(call, lat, lon):
    # Latitude digits in the destination as "P".."Y": a standard message,
    # north (4th), longitude offset 100 (5th) and west (6th); the feed's
    # longitudes all lie between 100 and 179 degrees.
    digits = dm(lat, 2).replace(".", "")
    dest = "".join(chr(ord("P") + int(d)) for d in digits)
    deg = int(lon)
    minutes = (lon - deg) * 60
    mm, hh = int(minutes), max(4, int((minutes - int(minutes)) * 100))
    info = "`" + chr(deg - 100 + 28) + chr(mm + 88 if mm < 10 else mm + 28) + chr(hh + 28) + 'l"O' + "k/]Mobile="
    return "%s>%s,WIDE1-1,WIDE2-1:%s" % (call, dest, info)


def b91(value):
    out = ""
    for _ in range(4):
        out = chr(value % 91 + 33) + out
        value //= 91
    return out


def compressed(lat, lon, code, cs):
    return "/" + b91(int(380926 * (90 - lat))) + b91(int(190463 * (180 - lon))) + code + cs


def line_for(rng, call, lat, lon, kind, n):
    t = "%02d%02d%02d" % ((n // 3600) % 24, (n // 60) % 60, n % 60)
    if kind == 0:
        return "%s>APRS,WIDE2-1:!%sN/%sW-Fixed station" % (call, dm(lat, 2), dm(lon, 3))
    if kind == 1:
        return "%s>APRS,WIDE1-1:=%sN/%sW>PHG5132" % (call, dm(lat, 2), dm(lon, 3))
    if kind == 2:
        return "%s>APDR15,WIDE1-1*:@%sz%sN/%sW>088/036/A=000210" % (call, t, dm(lat, 2), dm(lon, 3))
    if kind == 3:
        return "%s>APRS,WIDE2-2:/%sh%sN/%sW>090/040" % (call, t, dm(lat, 2), dm(lon, 3))
    if kind == 4:
        return mice(call, lat, lon)
    if kind == 5:
        return "%s>GPSLK,WIDE1-1:%s" % (
            call, nmea("GPGGA,%s,%s,N,%s,W,1,07,1.2,45.1,M,-19.6,M,," % (t, dm4(lat, 2), dm4(lon, 3))))
    if kind == 6:
        return "%s>GPSLK,WIDE1-1:%s" % (
            call, nmea("GPRMC,%s,A,%s,N,%s,W,022.4,084.4,071226,015.1,E" % (t, dm4(lat, 2), dm4(lon, 3))))
    if kind == 7:
        # No comma before the sentence: the waypoint decoder counts fields from the line's start.
        return "%s>APRS:%s" % (call, nmea("GPWPL,%s,N,%s,W,%s" % (dm(lat, 2), dm(lon, 3), call)))
    if kind == 8:
        return "%s>APRS,WIDE2-1:>Digi on Larch Mtn, 146.52 simplex watch" % call
    if kind == 9:
        return "%s>APRS,WIDE2-1:!%sN/%sW_220/004g005t051r000p000P000h83b10165" % (call, dm(lat, 2), dm(lon, 3))
    if kind == 11:
        return "%s>APRS,WIDE2-1:!%sCompressed" % (call, compressed(lat, lon, ">", "7P["))
    if kind == 12:
        return "%s>APRS,WIDE2-1:@%sz%s" % (call, t, compressed(lat, lon, ">", "{?!"))
    if kind == 13:
        return "%s>APRS,WIDE2-1:;AID %-5d*%sz%sN/%sWaAid station" % (call, n % 100, t, dm(lat, 2), dm(lon, 3))
    if kind == 14:
        return "%s>APRS,WIDE2-1:)FIRE %d!%sN/%sW:" % (call, n % 100, dm(lat, 2), dm(lon, 3))
    if kind == 15:
        return "%s>GPSLK,WIDE1-1:%s" % (
            call, nmea("GNRMC,%s,A,%s,N,%s,W,022.4,084.4,071226,015.1,E" % (t, dm4(lat, 2), dm4(lon, 3))))
    if kind == 16:
        return "%s>APRS,WIDE2-1:!%sN/%sW-Precise !W%d%d!" % (call, dm(lat, 2), dm(lon, 3), n % 10, (n // 10) % 10)
    return "%s>APWW11,WIDE2-2::%-9s:Report to staging area {%d" % (call, "N0Q0", n % 1000)


# Plain positions are the bulk of a real feed; the rest in smaller shares.
KINDS = [0, 0, 0, 1, 1, 2, 2, 3, 4, 4, 4, 5, 6, 7, 8, 9, 10]
TRACKED_KINDS = [0, 1, 2, 3, 4, 5, 6]
# The kinds the first feeds lacked, as often as a plain kind each.
NEW_KINDS = [11, 12, 13, 14, 15, 16]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("lines", type=int)
    ap.add_argument("stations", type=int)
    ap.add_argument("tracked", type=int)
    ap.add_argument("out")
    ap.add_argument("--config")
    ap.add_argument("--every", type=int, default=10, help="the tracked stations send every Nth line")
    ap.add_argument("--telnet", help="HOST:PORT of the APRS-IS server the configuration names")
    ap.add_argument("--crlf", action="store_true", help="end lines with CR LF instead of LF")
    ap.add_argument("--new-kinds", action="store_true", help="mix in compressed reports, objects, items, ...")
    a = ap.parse_args()
    kinds = KINDS + NEW_KINDS if a.new_kinds else KINDS
    rng = random.Random(12)
    calls = ["N%dQ%d" % (i // 1000, i % 1000) for i in range(a.stations)]
    home = [(44.0 + rng.random() * 2, 121.0 + rng.random() * 2) for _ in calls]
    end = "\r\n" if a.crlf else "\n"
    with open(a.out, "w", newline="") as f:
        for n in range(a.lines):
            if a.tracked and n % a.every == 0:
                i = (n // a.every) % a.tracked
                lat, lon = home[i]
                # A new position every time: a step along a long track.
                step = n // a.every
                lat += (step % 9973) * 0.0001
                lon += (step % 9967) * 0.0001
                kind = TRACKED_KINDS[(n // a.every // a.tracked) % len(TRACKED_KINDS)]
            else:
                i = rng.randrange(a.tracked, a.stations) if a.stations > a.tracked else 0
                lat, lon = home[i]
                kind = kinds[rng.randrange(len(kinds))]
            f.write(line_for(rng, calls[i], lat, lon, kind, n) + end)
    if a.config:
        slot = [calls[s] if s < a.tracked else "CALL ID-%d" % (s + 1) for s in range(8)]
        track = [" 1 " if s < a.tracked else " 0 " for s in range(8)]
        # Slots 1 to 4 and auto-assignment live in the numbered lines at the top.
        legacy = ["QUORVEL CONFIGURATION SETTINGS. Do not change unless you know what you are doing!", "2.0",
                  " 0 ", "quorvel.mxf"] + slot[:4] + track[:4] + [" 0 ", "60", "Stdimport"]
        keys = ['"QVVERSION",10000', '"MAPTYPE","maptechSTD"', '"SOUND",0', '"COMPORT",0',
                '"CREATEMAPFILENATGEOTOPONOW",#TRUE#', '"CREATEMAPFILESTREETATLAS",#TRUE#',
                '"CREATEMAPFILEMAPTECH",#TRUE#', '"CREATEMAPFILENATGEOTOPO",#TRUE#', '"CREATEMAPFILEOZI",#TRUE#',
                '"ODFSPOTFIRESCREATEFILE",1', '"TRACKMOVING",0']
        if a.telnet:
            host, port = a.telnet.rsplit(":", 1)
            keys += ['"TELNETADDRESS","%s"' % host, '"TELNETPORT",%s' % port, '"TELNETLOGINNAME","N0BNCH"',
                     '"TELNETLOGINPASSWORD","-1"', '"TELNETSERVERCOMMAND",""']
        for s in range(4, 8):
            keys.append('"CALLID%d","%s"' % (s + 1, slot[s]))
            keys.append('"TRACKCALLID%d",%s' % (s + 1, track[s].strip()))
        with open(a.config, "w", newline="") as f:
            f.write("\r\n".join(legacy + ["NEW_CONFIG_FORMAT_BELOW"] + keys) + "\r\n")


if __name__ == "__main__":
    main()
