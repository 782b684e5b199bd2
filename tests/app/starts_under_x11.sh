#!/usr/bin/env bash
# The program on a real X server: it starts with its data folder seeded, shows
# its main window titled "Vorlin", and on closing writes its two settings and
# ends with exit code 0; SIGTERM ends it the same way.
#   starts_under_x11.sh VORLIN_EXECUTABLE
set -euo pipefail
source "$(dirname "$0")/x11_helpers.sh"
program=$1
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT

# What the import of a killed run left behind: its office's profile and pipe.
true & dead=$!
wait "$dead"
leftover=$(mktemp -d "/tmp/vorlin-office-$dead-XXXXXX")
touch "$leftover/registrymodifications.xcu"

XDG_DATA_HOME="$data" "$program" >"$data/out.log" 2>&1 &
pid=$!

if ! find_vorlin_window; then
  echo "no window titled Vorlin appeared"; import -window root "$data/screen.png" 2>/dev/null || true
  kill "$pid" 2>/dev/null || true; cat "$data/out.log"; exit 1
fi

for file in vorlin.mdb vorlin_druh.txt hledani/filtr_adres.txt; do
  [[ -f "$data/Vorlin/$file" ]] || { echo "not seeded: $file"; kill "$pid"; exit 1; }
done

[[ ! -e "$leftover" ]] || { echo "the killed run's office profile was left: $leftover"; kill "$pid"; exit 1; }

# Closed as a user closes it: the window manager's Alt+F4 asks the window.
status=0
if ! close_with_alt_f4 "$window" "$pid"; then
  echo "the program did not end after its window closed"; kill "$pid"; exit 1
fi
wait "$pid" || status=$?
[[ $status -eq 0 ]] || { echo "exit code $status"; cat "$data/out.log"; exit 1; }

settings="$data/Vorlin/nastaveni.ini"
grep -q '^casovy_interval_vlozeni=4' "$settings" || { echo "interval not written"; cat "$settings"; exit 1; }
grep -q '^pouzit_ctrlv=1' "$settings" || { echo "Ctrl+V setting not written"; exit 1; }

# Ended by a signal (a logout, kill): it closes as its window does.
rm -f "$settings"
XDG_DATA_HOME="$data" "$program" >"$data/out.log" 2>&1 &
pid=$!
find_vorlin_window || { echo "no window after the second start"; kill "$pid"; exit 1; }
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[[ $status -eq 0 ]] || { echo "exit code $status after SIGTERM"; cat "$data/out.log"; exit 1; }
grep -q '^pouzit_ctrlv=1' "$settings" || { echo "settings not written after SIGTERM"; exit 1; }
echo "started, showed its window and ended cleanly, also on SIGTERM"
