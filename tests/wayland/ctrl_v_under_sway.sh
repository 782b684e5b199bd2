#!/usr/bin/env bash
# The delayed Ctrl+V on a Wayland desktop: a headless sway session of a
# throw-away user (sway refuses root), a native GTK window with a text view,
# the clipboard held by wl-copy, and the program's own keyboard typing
# Ctrl+V, once per run of a fresh keyboard, with a US, a Czech and a Russian
# layout on the seat. Needs root to make the user.
#   ctrl_v_under_sway.sh TYPE_CHORD_PROGRAM
set -euo pipefail
chord=$1
here=$(cd "$(dirname "$0")" && pwd)
if [[ $(id -u) -ne 0 ]]; then
  echo "not root: the Wayland session of another user is left out"
  exit 0
fi
user=vorlin-wayland
id "$user" >/dev/null 2>&1 || useradd --create-home --shell /usr/sbin/nologin "$user"
home=$(getent passwd "$user" | cut -d: -f6)

# Everything the user runs lies in a folder of its own, readable by it.
work=$(mktemp -d /tmp/vorlin-wayland-XXXXXX)
runtime=$work/runtime
mkdir -p "$runtime"
cp "$chord" "$here/text_view.py" "$work/"
cat >"$work/sway.conf" <<'CONF'
output HEADLESS-1 resolution 1280x800
xwayland disable
default_border none
CONF
chown -R "$user" "$work"
chmod 700 "$runtime"
sway_pid=
cleanup() {
  [[ -n "$sway_pid" ]] && kill "$sway_pid" 2>/dev/null || true
  pkill -u "$user" 2>/dev/null || true
  sleep 0.3
  rm -rf "$work"
}
trap cleanup EXIT

as_user() {
  runuser -u "$user" -- env -i PATH=/usr/bin:/bin HOME="$home" LANG=C.UTF-8 XDG_RUNTIME_DIR="$runtime" \
    ${WAYLAND_DISPLAY:+WAYLAND_DISPLAY=$WAYLAND_DISPLAY} "$@"
}

WAYLAND_DISPLAY= as_user env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
  sway --config "$work/sway.conf" >"$work/sway.log" 2>&1 &
sway_pid=$!
for _ in $(seq 100); do
  socket=$(find "$runtime" -maxdepth 1 -name 'wayland-*' -type s -printf '%f\n' | head -1)
  [[ -n "$socket" ]] && break
  sleep 0.1
done
if [[ -z "${socket:-}" ]]; then
  echo "sway did not start:"; cat "$work/sway.log"; exit 1
fi
export WAYLAND_DISPLAY=$socket
swaysock=$(find "$runtime" -maxdepth 1 -name 'sway-ipc.*' -type s | head -1)
sway() { as_user env SWAYSOCK="$swaysock" swaymsg "$@" >/dev/null; }

text="Čížek a spol. – Žďár nad Sázavou"
as_user wl-copy --foreground "$text" &
as_user env GDK_BACKEND=wayland python3 "$work/text_view.py" "$work/arrived.txt" >"$work/view.log" 2>&1 &
for _ in $(seq 100); do
  as_user env SWAYSOCK="$swaysock" swaymsg -t get_tree 2>/dev/null | grep -q '"Prijemce"' && break
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
