#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh), checks it with lintian,
# installs it on this machine (as root), checks what it installed and replays
# the sample feed with the installed /usr/bin/quorvel, then removes it again
# (QUORVEL_KEEP_PACKAGE=1 keeps it).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh

deb=$(./scripts/package.sh | tail -n 1)
echo "== package $deb"
fail() {
  echo "package-test: $*" >&2
  exit 1
}

echo "== lintian"
lintian --fail-on error,warning "$deb"

# A package left by an earlier run must not hide what this one installs.
was_installed=0
dpkg-query -W -f='${Status}' quorvel 2>/dev/null | grep -q "install ok installed" && was_installed=1
cleanup() {
  if [ "$was_installed" = 0 ] && [ "${QUORVEL_KEEP_PACKAGE:-0}" != 1 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -q quorvel >/dev/null || true
  fi
}
trap cleanup EXIT
echo "== install"
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --reinstall --no-install-recommends "$deb" >/dev/null

echo "== installed files"
app=io.github.quorvel.Quorvel
desktop-file-validate /usr/share/applications/$app.desktop
appstreamcli validate --no-net /usr/share/metainfo/$app.metainfo.xml
for f in /usr/share/icons/hicolor/scalable/apps/quorvel.svg /usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/quorvel.png \
  /usr/share/doc/quorvel/quorvel-help.html; do
  [ -s "$f" ] || fail "$f missing"
done
xmllint --noout /usr/share/icons/hicolor/scalable/apps/quorvel.svg
man_page=$(man -w quorvel 2>/dev/null) || { mandb -q || true; man_page=$(man -w quorvel); }
echo "manual page: $man_page"
[ "$(MANWIDTH=80 man --warnings -E UTF-8 quorvel 2>&1 >/dev/null)" = "" ] || fail "man reports warnings"

echo "== station service"
unit=/lib/systemd/system/quorvel.service
verify=$(systemd-analyze verify "$unit" 2>&1) || fail "systemd-analyze verify: $verify"
[ -z "$verify" ] || fail "systemd-analyze verify: $verify"
[ "$(systemctl is-enabled quorvel.service 2>/dev/null || true)" = disabled ] || fail "the service is enabled by installing"
id -nG quorvel | tr ' ' '\n' | grep -qx dialout || fail "user quorvel is not in group dialout"
[ "$(stat -c %U /var/lib/quorvel)" = quorvel ] || fail "/var/lib/quorvel does not belong to quorvel"

# The command the unit runs, as its user, on a directory of that user, ended
# by SIGTERM as systemctl stop ends it.
station=$(mktemp -d)
chown quorvel:quorvel "$station"
log=$(mktemp)
setpriv --reuid=quorvel --regid=quorvel --init-groups /usr/bin/quorvel --headless --workdir "$station" >"$log" 2>&1 &
pid=$!
for _ in $(seq 100); do grep -q "^Running" "$log" && break; sleep 0.1; done
grep -q "^Running" "$log" || fail "the headless station did not start: $(cat "$log")"
kill -TERM "$pid"
wait "$pid" || fail "the headless station ended with status $?: $(cat "$log")"
grep -q "^Stopped" "$log" || fail "the headless station did not stop cleanly: $(cat "$log")"
rm -rf "$station" "$log"

echo "== replay of the sample feed with the installed program"
work=$(mktemp -d)
cp /usr/share/doc/quorvel/examples/quorvel.cfg /usr/share/doc/quorvel/examples/quorvel.imp "$work"/
out=$(/usr/bin/quorvel --headless --workdir "$work" import)
echo "$out"
echo "$out" | grep -q "^Replayed [1-9][0-9]* lines" || fail "nothing replayed"
for f in quorvel.mxf quorvel.txf quorvel.wpt quorvelID1.plt quorvelSA5.txt quorvelNGTOPOnowCall.txt quorvel.olt; do
  [ -s "$work/$f" ] || fail "the replay wrote no $f"
done
rm -rf "$work"

echo "== upgrade keeps the station's files"
echo kept >/var/lib/quorvel/package-test.txt
dpkg -i "$deb" >/dev/null
[ "$(cat /var/lib/quorvel/package-test.txt)" = kept ] || fail "/var/lib/quorvel lost its files on upgrade"
rm -f /var/lib/quorvel/package-test.txt
echo "package-test: passed"
