#!/usr/bin/env bash
# The display lost under the program (the X server killed, as a crash or a
# dropped remote session does it) while a body is being edited: the typed
# text is in the database and the settings are written, as on SIGTERM.
# Runs an X server of its own, which it kills.
#   display_lost_under_x11.sh VORLIN_EXECUTABLE
set -euo pipefail
source "$(dirname "$0")/x11_helpers.sh"
program=$1
use_scratch_folder
mkdir -p "$scratch/Vorlin"
cp "$(dirname "$program")/vorlin.mdb" "$scratch/Vorlin/vorlin.mdb"
sqlite3 "$scratch/Vorlin/vorlin.mdb" \
  "INSERT INTO vorlin (nazev, druh, obsah, tag) VALUES ('Adresa soudu', 'adresa', '{\rtf1 Krajsky soud}', 'soud')"

exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1280x800x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
xvfb=$!
pids+=("$xvfb")
read -r -t 20 number <&"$fd" || fail "Xvfb did not start"
export DISPLAY=":$number" LANG=C.UTF-8

XDG_DATA_HOME="$scratch" "$program" >"$scratch/out.log" 2>&1 &
pid=$!
pids+=("$pid")
find_vorlin_window || fail "no window titled Vorlin appeared"
# Into the body, below the toolbar of the middle column, and typed there.
xdotool mousemove --window "$window" 500 300 click 1
sleep 0.3
xdotool type --delay 20 " neulozeny dodatek"
sleep 0.3

kill -9 "$xvfb"
status=0
wait "$pid" || status=$?
grep -q "connection broke" "$scratch/out.log" || { cat "$scratch/out.log"; fail "the program did not lose its display"; }
body=$(sqlite3 "$scratch/Vorlin/vorlin.mdb" "SELECT obsah FROM vorlin WHERE nazev = 'Adresa soudu'")
[[ $body == *"Krajsky soud neulozeny dodatek"* ]] || { cat "$scratch/out.log"; echo "stored: $body"; exit 1; }
grep -q '^pouzit_ctrlv=1' "$scratch/Vorlin/nastaveni.ini" || { echo "settings not written"; exit 1; }
echo "the edit and the settings outlived the display (exit status $status)"
