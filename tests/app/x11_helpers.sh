# Shared steps of the X11 test scripts; sourced, not run.

# find_vorlin_window: sets window to the visible window titled "Vorlin",
# waiting for it up to 10 s; fails when none comes.
find_vorlin_window() {
  window=""
  for _ in $(seq 200); do
    window=$(xdotool search --onlyvisible --name '^Vorlin$' 2>/dev/null | head -n 1 || true)
    [[ -n "$window" ]] && return 0
    sleep 0.05
  done
  return 1
}

# close_with_alt_f4 WINDOW PID: closes the window as a user does, with the
# window manager's Alt+F4. A key sent while the window manager is still taking
# the new window in can get lost, so the request is repeated until the
# program ends; fails when it does not.
close_with_alt_f4() {
  local window=$1 pid=$2
  for _ in $(seq 5); do
    xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4 2>/dev/null || true
    for _ in $(seq 40); do
      kill -0 "$pid" 2>/dev/null || return 0
      sleep 0.05
    done
  done
  ! kill -0 "$pid" 2>/dev/null
}

# use_scratch_folder: sets scratch to a new temporary folder and pids to an
# empty list; when the script ends, the processes in pids are killed and the
# folder is removed.
use_scratch_folder() {
  scratch=$(mktemp -d)
  pids=()
  trap 'for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done; rm -rf "$scratch"' EXIT
}

# fail MESSAGE...: says what failed and ends the script with status 1, with a
# screenshot kept in the working folder (the scratch folder goes at the end).
fail() {
  echo "$*"
  local shot
  shot="$PWD/$(basename "$0" .sh)-failure.png"
  import -window root "$shot" 2>/dev/null && echo "screenshot: $shot"
  exit 1
}
