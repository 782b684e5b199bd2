#!/usr/bin/env bash
# "Kopírovat text do schránky" pressed through the accessibility bus (no key
# or click of the program's own) under sway, over an older clipboard: the
# delayed Ctrl+V pastes the snippet into the focused text view, never the
# older text; when another program takes the clipboard before the Ctrl+V,
# no Ctrl+V is typed. Needs root to make the session's user.
#   copy_without_input_under_sway.sh VORLIN_EXECUTABLE TYPE_CHORD_PROGRAM
set -euo pipefail
program=$1
chord=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/sway_session.sh"
start_sway
require_reachable "$program"
cp "$here/text_view.py" "$here/press_button.py" "$chord" "$work/"
mkdir -p "$work/data/Vorlin"
cp "$(dirname "$program")/vorlin.mdb" "$work/data/Vorlin/vorlin.mdb"
sqlite3 "$work/data/Vorlin/vorlin.mdb" \
  "INSERT INTO vorlin (nazev, druh, obsah, tag) VALUES ('Podpis', 'podpis', 'JUDr. Jan Novák, advokát', '')"
printf '[nastaveni]\r\ncasovy_interval_vlozeni=1\r\npouzit_ctrlv=1\r\n' >"$work/data/Vorlin/nastaveni.ini"
chown -R "$user" "$work"

# One session bus with the accessibility bus for the program and the
# presser, as a desktop has them.
cat >"$work/inner.sh" <<INNER
set -u
/usr/libexec/at-spi-bus-launcher --launch-immediately &
sleep 0.5
env XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=wayland QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >"$work/vorlin.log" 2>&1 &
sleep 2
env GDK_BACKEND=wayland python3 "$work/text_view.py" "$work/arrived.txt" >"$work/view.log" 2>&1 &
sleep 1.5
# The older text on the clipboard, then the press.
wl-copy --foreground "Starší obsah schránky" &
sleep 0.5
python3 "$work/press_button.py" "Kopírovat text do schránky" || echo "not pressed" >"$work/press.err"
sleep 3
cp "$work/arrived.txt" "$work/first.txt" 2>/dev/null || : >"$work/first.txt"
# Pressed again, then another program takes the clipboard before the Ctrl+V.
python3 "$work/press_button.py" "Kopírovat text do schránky" || echo "not pressed" >"$work/press.err"
sleep 0.2
wl-copy --foreground "Cizí text" &
sleep 3
INNER
chown "$user" "$work/inner.sh"

# A keyboard on the seat for the whole run, as a desktop has one.
mkfifo "$work/ask"
chown "$user" "$work/ask"
as_user sh -c "exec \"$work/$(basename "$chord")\" <\"$work/ask\" >\"$work/typed.log\" 2>&1" &
exec 3>"$work/ask"
echo >&3
as_user dbus-run-session -- bash "$work/inner.sh"

fail() { echo "$1"; tail -5 "$work/vorlin.log"; echo "0 passed, 1 failed"; exit 1; }
[[ ! -e "$work/press.err" ]] || fail "the button could not be pressed through the accessibility bus"
first=$(cat "$work/first.txt")
[[ "$first" == "JUDr. Jan Novák, advokát" ]] || fail "after the first press the text view holds \"$first\""
final=$(cat "$work/arrived.txt")
[[ "$final" != *"Cizí"* && "$final" != *"Starší"* ]] || fail "a clipboard that was not the snippet was pasted: \"$final\""
echo "the snippet was pasted over the older clipboard; another's clipboard was not"
echo "1 passed, 0 failed"
