#!/usr/bin/env bash
# The program installed as a desktop program, on a real X server: installed
# into a temporary prefix and, as a Debian package, unpacked into a scratch
# root; the menu entry and the AppStream description validate; each installed
# copy tells its version, starts with a fresh data folder seeded from its own
# folder, and ends cleanly.
#   installed_under_x11.sh BUILD_FOLDER
set -euo pipefail
source "$(dirname "$0")/x11_helpers.sh"
build=$1
use_scratch_folder
work=$scratch

# start_and_close PROGRAM LIBDIR: a fresh data folder, seeded from LIBDIR.
start_and_close() {
  local program=$1 libdir=$2 data
  data=$(mktemp -d -p "$work")
  [[ "$("$program" --version)" == "Vorlin $(head -n 1 "$libdir/vorlin.txt" | tr -d '\r')" ]] || fail "$program --version"
  XDG_DATA_HOME="$data" XDG_RUNTIME_DIR="$data" "$program" >"$data/log" 2>&1 &
  local pid=$!
  pids+=("$pid")
  find_vorlin_window || fail "$program showed no window: $(cat "$data/log")"
  cmp -s "$data/Vorlin/vorlin.mdb" "$libdir/vorlin.mdb" || fail "$program: database not seeded from $libdir"
  cmp -s "$data/Vorlin/vorlin_druh.txt" "$libdir/vorlin_druh.txt" || fail "$program: kinds not seeded"
  cmp -s "$data/Vorlin/hledani/filtr_adres.txt" "$libdir/filtr_adres.txt" || fail "$program: filter not seeded"
  close_with_alt_f4 "$window" "$pid" || fail "$program did not end"
  wait "$pid" || fail "$program ended with status $?"
}

# Installed into a prefix.
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
[[ -L "$prefix/bin/vorlin" && -x "$prefix/lib/vorlin/vorlin" ]] || fail "bin/vorlin does not lead to lib/vorlin/vorlin"
[[ -f "$prefix/lib/vorlin/libupdlink.so" ]] || fail "no update library beside the program"
for size in 16 22 24 32 48 64 128 256; do
  [[ -s "$prefix/share/icons/hicolor/${size}x${size}/apps/cz.vorlin.Vorlin.png" ]] || fail "no ${size} px icon"
done
[[ -s "$prefix/share/icons/hicolor/scalable/apps/cz.vorlin.Vorlin.svg" ]] || fail "no scalable icon"
desktop-file-validate "$prefix/share/applications/cz.vorlin.Vorlin.desktop" | grep -v '^.*: hint:' && fail "menu entry"
appstreamcli validate --no-net "$prefix/share/metainfo/cz.vorlin.Vorlin.metainfo.xml" >"$work/appstream.log" \
  || fail "AppStream: $(cat "$work/appstream.log")"
start_and_close "$prefix/bin/vorlin" "$prefix/lib/vorlin"

# As a Debian package.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 \
  || fail "cpack: $(cat "$work/cpack.log")"
deb=$(ls "$work"/package/vorlin_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6gui6 libsqlite3-0 libicu72 libxtst6 libx11-6 qt6-qpa-plugins; do
  [[ "$depends" == *"$library"* ]] || fail "the package does not depend on $library: $depends"
done
dpkg-deb -c "$deb" >"$work/contents"
grep -q './usr/bin/vorlin -> ../lib/vorlin/vorlin' "$work/contents" || fail "the package has no usr/bin/vorlin link"
for doc in copyright changelog.gz; do
  grep -q "./usr/share/doc/vorlin/$doc\$" "$work/contents" || fail "the package has no usr/share/doc/vorlin/$doc"
done
dpkg-deb -x "$deb" "$work/root"
start_and_close "$work/root/usr/bin/vorlin" "$work/root/usr/lib/vorlin"
echo "installed copy and package: files, validation, version, seeding, clean end; package $(stat -c %s "$deb") bytes"
