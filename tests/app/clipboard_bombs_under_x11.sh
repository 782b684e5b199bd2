#!/usr/bin/env bash
# Hostile and broken clipboards pasted into a body of the running program
# through xclip: it answers within seconds (told by this script's clock, the
# notice window appearing), and a clipboard offering only RTF pastes it.
#   clipboard_bombs_under_x11.sh VORLIN_EXECUTABLE
set -euo pipefail
source "$(dirname "$0")/x11_helpers.sh"
program=$1
use_scratch_folder
mkdir -p "$scratch/Vorlin"
database="$scratch/Vorlin/vorlin.mdb"
cp "$(dirname "$program")/vorlin.mdb" "$database"
sqlite3 "$database" "INSERT INTO vorlin (nazev, druh, obsah, tag) VALUES ('Dopis', 'petit', 'Text', '')"

XDG_DATA_HOME="$scratch" "$program" >"$scratch/out.log" 2>&1 &
pid=$!
pids+=("$pid")
find_vorlin_window || fail "no window titled Vorlin appeared"
main=$window

# offer TYPE FILE: the file on the clipboard as the only form of that type.
offer() {
  xclip -selection clipboard -t "$1" -i "$2" &
  pids+=($!)
  sleep 0.3
}

# paste_answered_within SECONDS: Ctrl+V into the body; the notice box (a
# second window titled Vorlin) must come within the time, and is closed.
paste_answered_within() {
  xdotool mousemove --window "$main" 500 300 click 1
  local start=$(date +%s%N)
  xdotool key ctrl+v
  while (( $(xdotool search --onlyvisible --name '^Vorlin$' | wc -l) < 2 )); do
    (( ($(date +%s%N) - start) / 1000000000 < $1 )) || fail "no answer within $1 s"
    sleep 0.1
  done
  echo "answered in $(( ($(date +%s%N) - start) / 1000000 )) ms"
  xdotool key Return
  sleep 0.3
}

python3 -c 'print("<div>" * 100000 + "hluboko" + "</div>" * 100000, end="")' >"$scratch/divs.html"
python3 -c 'print("<b><i>" * 100000 + "tucne", end="")' >"$scratch/runs.html"
for bomb in divs runs; do
  offer text/html "$scratch/$bomb.html"
  paste_answered_within 10
done

printf '{\\rtf1\\ansi {\\b VLOZENO Z RTF}}' >"$scratch/only.rtf"
offer text/rtf "$scratch/only.rtf"
xdotool mousemove --window "$main" 500 300 click 1
xdotool key ctrl+v ctrl+s
sleep 0.5
body=$(sqlite3 "$database" "SELECT obsah FROM vorlin")
[[ $body == *'\b'*'VLOZENO Z RTF'* ]] || fail "the RTF was not pasted with its bold: $body"
kill -TERM "$pid"
wait "$pid" || true
echo "the bombs were answered in time and the RTF alone was pasted"
