#!/usr/bin/env bash
# The delayed Ctrl+V on a Wayland desktop: a headless sway session of a
# throw-away user (sway refuses root), a native GTK window with a text view,
# the clipboard held by wl-copy, and the program's own keyboard typing
# Ctrl+V (the first chord of a new keyboard included) with a US, a Czech and
# a Russian layout on the seat. Needs root to make the user.
#   ctrl_v_under_sway.sh TYPE_CHORD_PROGRAM
set -euo pipefail
chord=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/sway_session.sh"
start_sway
cp "$chord" "$here/text_view.py" "$work/"
chown "$user" "$work/$(basename "$chord")" "$work/text_view.py"
sway() { swaymsg_as_user "$@" >/dev/null; }

text="Čížek a spol. – Žďár nad Sázavou"
as_user wl-copy --foreground "$text" &
as_user env GDK_BACKEND=wayland python3 "$work/text_view.py" "$work/arrived.txt" >"$work/view.log" 2>&1 &
for _ in $(seq 100); do
  swaymsg_as_user -t get_tree 2>/dev/null | grep -q '"Prijemce"' && break
  sleep 0.1
done
sway '[title="Prijemce"] focus'
sleep 0.3

# One keyboard for the run, as in the program: each line asks for a chord.
mkfifo "$work/ask"
chown "$user" "$work/ask"
as_user sh -c "exec \"$work/$(basename "$chord")\" <\"$work/ask\" >\"$work/typed.log\" 2>&1" &
exec 3>"$work/ask"

failures=0
expected=
for layout in ${LAYOUTS:-us cz ru}; do
  sway input '*' xkb_layout "$layout"
  sleep 0.2
  expected+=$text
  echo >&3
  for _ in $(seq 50); do
    [[ "$(cat "$work/arrived.txt" 2>/dev/null)" == "$expected" ]] && break
    sleep 0.1
  done
  got=$(cat "$work/arrived.txt" 2>/dev/null || true)
  if [[ "$got" != "$expected" ]]; then
    echo "$layout: expected \"$expected\", the window holds \"$got\" ($(tr '\n' ' ' <"$work/typed.log"))"
    failures=$((failures + 1))
  else
    echo "$layout: the Ctrl+V arrived"
  fi
done
exec 3>&-
((failures == 0)) && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $((failures > 0))
