#!/bin/sh
# Makes the Debian package with CPack from the play preset, with the
# libretro core beside the program, and checks it: lintian finds no error,
# the AppStream metadata and the manual page are valid, the packaged program
# runs (--version), and the core and its information lie where Debian's
# RetroArch looks for them.
set -eu
cd "$(dirname "$0")/.."
sh tools/deps.sh libretro
# A folder of its own: the core wants every library position-independent,
# and the installed paths are Debian's (/usr, the multiarch library folder).
cmake --preset play -B build/package -DPELLAX_LIBRETRO=ON -DCMAKE_POSITION_INDEPENDENT_CODE=ON \
    -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build build/package -j "$(nproc 2>/dev/null || echo 2)" >/dev/null
(cd build/package && cpack -G DEB >/dev/null)
deb=$(ls build/package/pellax-rim_*.deb)
echo "== $deb"
appstreamcli validate --no-net packaging/*.metainfo.xml
man --warnings -l packaging/pellax-rim.6 >/dev/null
lintian --fail-on error "$deb"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch"
"$scratch/usr/games/pellax-rim" --version
arch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
for file in "usr/lib/$arch/libretro/pellax_rim_libretro.so" usr/share/libretro/info/pellax_rim_libretro.info; do
    [ -f "$scratch/$file" ] || { echo "the package lacks /$file" >&2; exit 1; }
done
