#!/usr/bin/env bash
# The compositor killed under the program (a crash of the desktop) while
# "Název" holds a change not yet saved, round after round: Qt learns of the
# loss on its Wayland thread and on the GUI thread alike and ends the
# process from either, and the change must be in the database every time.
# In a headless sway session of a throw-away user (sway refuses root).
#   display_lost_under_sway.sh VORLIN_EXECUTABLE [ROUNDS]
set -euo pipefail
program=$1
rounds=${2:-${ROUNDS:-8}}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/sway_session.sh"

lost=0
for round in $(seq "$rounds"); do
  start_sway
  require_reachable "$program"
  mkdir -p "$work/data/Vorlin"
  cp "$(dirname "$program")/vorlin.mdb" "$work/data/Vorlin/vorlin.mdb"
  sqlite3 "$work/data/Vorlin/vorlin.mdb" \
    "INSERT INTO vorlin (nazev, druh, obsah, tag) VALUES ('Adresa soudu', 'adresa', '{\rtf1 Krajsky soud}', 'soud')"
  chown -R "$user" "$work"
  as_user env XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=wayland "$program" >"$work/vorlin.log" 2>&1 &
  vorlin=$!
  for _ in $(seq 100); do swaymsg_as_user -t get_tree | grep -q '"Vorlin"' && break; sleep 0.1; done
  sleep 0.5
  # From the search box to "Název" (five Tabs here), to its end, and a word typed
  # there, by one keyboard that lives for all of it (the first key of a new
  # keyboard may be lost: an End, which the search box takes for nothing).
  as_user wtype -s 300 -k End -s 300 -k End -s 300 -d 30 -k Tab -k Tab -k Tab -k Tab -k Tab -k End " neulozeno"
  sleep 0.5
  pkill -9 -u "$user" -x sway
  status=0
  wait "$vorlin" || status=$?
  name=$(sqlite3 "$work/data/Vorlin/vorlin.mdb" "SELECT nazev FROM vorlin WHERE tag = 'soud'")
  if [[ $name == "Adresa soudu neulozeno" ]]; then
    echo "round $round: the change outlived the compositor (exit status $status)"
  else
    echo "round $round: stored \"$name\" (exit status $status)"; cat "$work/vorlin.log"
    lost=$((lost + 1))
  fi
  stop_sway
  trap - EXIT
done
echo "$((rounds - lost)) of $rounds rounds kept the change"
[[ $lost -eq 0 ]]
