#!/usr/bin/env bash
# Builds the Debian package with Debian's own tools (dpkg-buildpackage and
# debhelper, from debian/) out of a copy of this checkout's files, and prints
# the package's path as its last line.
#   scripts/package.sh            # the suite is left to scripts/test.sh
#   DEB_BUILD_OPTIONS= scripts/package.sh   # also build and run the suite inside
# Needs the packages of scripts/deps.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)

version=$(sed -n 's/^project(Quorvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
packaged=$(dpkg-parsechangelog -S Version)
if [ "$version" != "$packaged" ]; then
  echo "package.sh: CMakeLists.txt says version $version, debian/changelog $packaged" >&2
  exit 1
fi
if ! grep -q "<release version=\"$version\"" dist/io.github.quorvel.Quorvel.metainfo.xml; then
  echo "package.sh: no release $version in the AppStream metainfo" >&2
  exit 1
fi

# The copy sits at the same path on every run, so that ccache finds what an
# earlier package build of this checkout compiled.
work=$top/build-deb
src=$work/quorvel-$version
rm -rf "$work"
mkdir -p "$src"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  # Tracked and new files as they stand, without build trees or ignored files.
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
    tar --null -T - -cf - | tar -xf - -C "$src"
else
  tar --exclude='./build*' --exclude=./out -cf - . | tar -xf - -C "$src"
fi

export DEB_BUILD_OPTIONS=${DEB_BUILD_OPTIONS-nocheck}
if [[ " $DEB_BUILD_OPTIONS " == *" nocheck "* ]]; then
  export DEB_BUILD_PROFILES=${DEB_BUILD_PROFILES:-nocheck}
fi
if command -v ccache >/dev/null; then
  # debhelper gives the build a HOME of its own; keep the usual cache.
  CCACHE_DIR=${CCACHE_DIR:-$(ccache --get-config cache_dir)}
  export CCACHE_DIR CCACHE_BASEDIR=$src
fi
(cd "$src" && dpkg-buildpackage -b -uc -us -j"$(nproc)") >&2

arch=$(dpkg-architecture -qDEB_HOST_ARCH)
deb=quorvel_${version}_${arch}.deb
mkdir -p out
mv "$work/$deb" out/
echo "$top/out/$deb"
