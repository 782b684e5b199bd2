#!/usr/bin/env bash
# One running copy per user and display, on a real X server: a second start
# shows the first copy's window (also when it was minimised) and ends with
# status 0, "--quick-insert" opens the running copy's pop-up; after the first copy is killed, its socket does not block the next
# start. Without a display the program says so and ends with status 2.
#   one_copy_under_x11.sh VORLIN_EXECUTABLE
set -euo pipefail
source "$(dirname "$0")/x11_helpers.sh"
program=$1
use_scratch_folder
data=$scratch
export XDG_DATA_HOME="$data"

wait_for_window() { find_vorlin_window || fail "no window titled Vorlin appeared"; }

# The copies of this display and data folder: a copy the user runs
# elsewhere (another display) is none of this test's business.
copies_here() {
  local count=0 pid environment
  for pid in $(pgrep -f "^$program\$" || true); do
    environment=$(tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null || true)
    grep -qx "DISPLAY=$DISPLAY" <<<"$environment" && grep -qx "XDG_DATA_HOME=$data" <<<"$environment" \
      && count=$((count + 1))
  done
  echo "$count"
}

"$program" >"$data/first.log" 2>&1 &
first=$!
pids+=("$first")
wait_for_window

# Minimised (no tray host runs here, so it stays on the task bar as an icon).
xdotool windowminimize --sync "$window" || true

start=$(date +%s%N)
status=0
timeout 10 "$program" >"$data/second.log" 2>&1 || status=$?
elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
[[ $status -eq 0 ]] || fail "the second start ended with status $status: $(cat "$data/second.log")"
kill -0 "$first" 2>/dev/null || fail "the first copy is gone"
for _ in $(seq 100); do
  [[ "$(xdotool getactivewindow 2>/dev/null || true)" == "$window" ]] && break
  sleep 0.05
done
[[ "$(xdotool getactivewindow 2>/dev/null || true)" == "$window" ]] || fail "the first copy's window did not come up"
xprop -id "$window" _NET_WM_STATE | grep -q HIDDEN && fail "the first copy's window is still minimised"
[[ $(copies_here) -eq 1 ]] || fail "not exactly one copy runs: $(copies_here)"
echo "second start handed over in $elapsed ms"

# "--quick-insert" through the running copy: its pop-up comes, with the keyboard.
timeout 10 "$program" --quick-insert >"$data/quick.log" 2>&1 || fail "vorlin --quick-insert failed: $(cat "$data/quick.log")"
popup=""
for _ in $(seq 100); do
  popup=$(xdotool search --onlyvisible --name '^Rychlé vložení$' 2>/dev/null | head -1 || true)
  [[ -n "$popup" && "$(xdotool getactivewindow 2>/dev/null || true)" == "$popup" ]] && break
  sleep 0.05
done
[[ -n "$popup" ]] || fail "vorlin --quick-insert showed no pop-up"
[[ "$(xdotool getactivewindow 2>/dev/null || true)" == "$popup" ]] || fail "the pop-up did not get the keyboard"
xprop -id "$popup" _NET_WM_STATE | grep -q SKIP_TASKBAR || fail "the pop-up takes a place in the task bar"
xdotool key Escape
[[ $(copies_here) -eq 1 ]] || fail "--quick-insert left more than one copy: $(copies_here)"

# A copy that crashed leaves its socket behind; the next start runs all the same.
kill -9 "$first"
wait "$first" 2>/dev/null || true
"$program" >"$data/third.log" 2>&1 &
third=$!
pids+=("$third")
wait_for_window
kill -0 "$third" 2>/dev/null || fail "the start after a crash did not run"

# No display at all: one line and status 2.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" >"$data/none.log" 2>&1 || status=$?
[[ $status -eq 2 ]] || fail "without a display the status was $status"
[[ $(wc -l <"$data/none.log") -eq 1 ]] && grep -q 'Vorlin needs a graphical session' "$data/none.log" \
  || fail "without a display: $(cat "$data/none.log")"
echo "one copy per display, a crashed copy does not block, no display is said"
