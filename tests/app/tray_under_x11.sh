#!/usr/bin/env bash
# The notification-area icon on a real X server with a tray host (trayer):
# minimising hides the window into the tray, a left click on the icon shows
# it again, and the icon's menu item "Ukončit" ends the program cleanly.
#   tray_under_x11.sh VORLIN_EXECUTABLE
set -euo pipefail
program=$1
data=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$data"
}
trap cleanup EXIT

# wait_for DESCRIPTION COMMAND...: retries the command for up to 10 s.
wait_for() {
  local what=$1; shift
  for _ in $(seq 200); do
    "$@" && return 0
    sleep 0.05
  done
  echo "timed out waiting for: $what"
  import -window root "$data/screen.png" 2>/dev/null && echo "screenshot: $data/screen.png"
  return 1
}

# until_done DESCRIPTION ACTION CHECK: does the action and waits up to 2 s
# for the check, five times at most (an event sent while the window manager
# or the tray host is still taking a window in can get lost).
until_done() {
  local what=$1 action=$2 check=$3
  for _ in $(seq 5); do
    eval "$action" || true
    for _ in $(seq 40); do
      eval "$check" && return 0
      sleep 0.05
    done
  done
  echo "gave up: $what"
  import -window root "$data/screen.png" 2>/dev/null && echo "screenshot: $data/screen.png"
  return 1
}

main_window_visible() { [[ -n "$(xdotool search --onlyvisible --name '^Vorlin$' 2>/dev/null | head -n 1)" ]]; }
main_window_hidden() { ! main_window_visible; }
tray_icon() {
  local id size
  for id in $(xdotool search --classname vorlin 2>/dev/null); do
    size=$(xdotool getwindowgeometry "$id" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
    if [[ -n "$size" && "$size" -lt 64 ]]; then echo "$id"; return 0; fi
  done
  return 1
}

trayer --edge bottom --align right --widthtype pixel --width 200 --heighttype pixel --height 30 >/dev/null 2>&1 &
pids+=($!)
wait_for "the tray host" bash -c '[[ -n "$(xdotool search --class trayer 2>/dev/null)" ]]'

XDG_DATA_HOME="$data" "$program" >"$data/out.log" 2>&1 &
pid=$!
pids+=("$pid")
wait_for "the main window" main_window_visible
wait_for "the icon in the tray" tray_icon >/dev/null
icon=$(tray_icon)
window=$(xdotool search --onlyvisible --name '^Vorlin$' | head -n 1)

until_done "minimising hides the window into the tray" 'xdotool windowminimize "$window"' main_window_hidden
until_done "a left click on the icon shows the window" 'xdotool mousemove --window "$icon" 10 10 click 1' \
  main_window_visible

# The menu opens at the mouse; its last item is "Ukončit".
visible_windows() { xdotool search --onlyvisible --classname vorlin 2>/dev/null | wc -l; }
before=$(visible_windows)
until_done "a right click on the icon opens its menu" 'xdotool mousemove --window "$icon" 10 10 click 3' \
  '[[ $(visible_windows) -gt $before ]]'
xdotool key Up Return
wait_for "the program to end" bash -c "! kill -0 $pid 2>/dev/null"
status=0
wait "$pid" || status=$?
[[ $status -eq 0 ]] || { echo "exit code $status"; cat "$data/out.log"; exit 1; }
grep -q '^pouzit_ctrlv=1' "$data/Vorlin/nastaveni.ini" || { echo "settings not written at exit"; exit 1; }
echo "hidden into the tray, shown by the icon, ended from its menu"
