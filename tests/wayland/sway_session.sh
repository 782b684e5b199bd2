# A headless sway session of a throw-away user, for the Wayland tests to
# source: sway refuses root, so the user is made here (needs root) and the
# session and every client run as it, with a private XDG_RUNTIME_DIR.
# After start_sway: WAYLAND_DISPLAY, $work (a folder the user owns),
# as_user CMD..., swaymsg_as_user ARGS... and require_reachable PROGRAM;
# everything ends at exit.
user=vorlin-wayland

# Only root can make the user: elsewhere the Wayland run is left out.
if [[ $(id -u) -ne 0 ]]; then
  echo "not root: the Wayland session of another user is left out"
  exit 0
fi

start_sway() {
  id "$user" >/dev/null 2>&1 || useradd --create-home --shell /usr/sbin/nologin "$user"
  home=$(getent passwd "$user" | cut -d: -f6)
  work=$(mktemp -d /tmp/vorlin-wayland-XXXXXX)
  runtime=$work/runtime
  mkdir -p "$runtime"
  cat >"$work/sway.conf" <<'CONF'
output HEADLESS-1 resolution 1280x800
xwayland disable
default_border none
CONF
  chown -R "$user" "$work"
  chmod 700 "$runtime"
  trap stop_sway EXIT
  WAYLAND_DISPLAY= as_user env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway --config "$work/sway.conf" >"$work/sway.log" 2>&1 &
  sway_pid=$!
  local socket=
  for _ in $(seq 100); do
    socket=$(find "$runtime" -maxdepth 1 -name 'wayland-*' -type s -printf '%f\n' | head -1)
    [[ -n "$socket" ]] && break
    sleep 0.1
  done
  if [[ -z "$socket" ]]; then
    echo "sway did not start:"; cat "$work/sway.log"; exit 1
  fi
  export WAYLAND_DISPLAY=$socket
  swaysock=$(find "$runtime" -maxdepth 1 -name 'sway-ipc.*' -type s | head -1)
}

# A program in the build tree that the session's user cannot run (a build
# in a folder closed to others) leaves the Wayland run out.
require_reachable() {
  if ! runuser -u "$user" -- test -x "$1"; then
    echo "$1 is out of reach of other users here: the Wayland run is left out"
    exit 0
  fi
}

stop_sway() {
  [[ -n "${sway_pid:-}" ]] && kill "$sway_pid" 2>/dev/null || true
  pkill -u "$user" 2>/dev/null || true
  sleep 0.3
  pkill -9 -u "$user" 2>/dev/null || true
  rm -rf "$work"
}

as_user() {
  runuser -u "$user" -- env -i PATH=/usr/bin:/bin HOME="$home" LANG=C.UTF-8 XDG_RUNTIME_DIR="$runtime" \
    ${WAYLAND_DISPLAY:+WAYLAND_DISPLAY=$WAYLAND_DISPLAY} "$@"
}

swaymsg_as_user() {
  as_user env SWAYSOCK="$swaysock" swaymsg "$@"
}
