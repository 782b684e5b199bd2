#!/usr/bin/env bash
# The quick insertion on a Wayland desktop, as a user binds it there: in a
# headless sway session of a throw-away user (sway refuses root), the desktop's
# key binding runs "vorlin --quick-insert" while a native GTK text view has
# the focus; the running copy's pop-up takes the typed words, Enter puts the
# snippet into the text view by the clipboard and the program's own Ctrl+V,
# and the clipboard holds what it held before. Needs root to make the user.
#   quick_insert_under_sway.sh VORLIN_EXECUTABLE TYPE_CHORD_PROGRAM
set -euo pipefail
program=$1
chord=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/sway_session.sh"
start_sway
require_reachable "$program"
cp "$here/text_view.py" "$chord" "$work/"
mkdir -p "$work/data/Vorlin"
cp "$(dirname "$program")/vorlin.mdb" "$work/data/Vorlin/vorlin.mdb"
sqlite3 "$work/data/Vorlin/vorlin.mdb" \
  "INSERT INTO vorlin (nazev, druh, obsah, tag) VALUES ('Čížek, advokát', 'adresa', 'Mgr. Petr Čížek, Veveří 12, Brno', 'brno');
   INSERT INTO vorlin (nazev, druh, obsah, tag) VALUES ('Podpis', 'podpis', 'JUDr. Jan Novák', '');
   INSERT INTO vorlin (nazev, druh, obsah, tag) VALUES ('Lhůta k vyjádření', 'petit', ' do {{lhůta: 15 dnů od doručení}}', '');"
chown -R "$user" "$work"
fail() { echo "$1"; echo "0 passed, 1 failed"; exit 1; }
focused() { swaymsg_as_user -t get_tree | python3 -c '
import json, sys
def walk(node):
    if node.get("focused"):
        print(node.get("name") or "")
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))'; }
wait_focused() {
  for _ in $(seq 100); do [[ "$(focused)" == "$1" ]] && return 0; sleep 0.05; done
  return 1
}
user_env=(env XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=wayland)

as_user "${user_env[@]}" "$program" >"$work/vorlin.log" 2>&1 &
for _ in $(seq 100); do swaymsg_as_user -t get_tree | grep -q '"Vorlin"' && break; sleep 0.1; done
as_user env GDK_BACKEND=wayland python3 "$work/text_view.py" "$work/arrived.txt" >"$work/view.log" 2>&1 &
wait_focused "Prijemce" || fail "the text view did not get the focus"
# A keyboard on the seat for the whole run, as a desktop has one: without it
# the seat has a keyboard only while wtype types, and every window loses the
# keyboard focus when it goes. (It types one Ctrl+V, into an empty clipboard.)
mkfifo "$work/ask"
chown "$user" "$work/ask"
as_user sh -c "exec \"$work/$(basename "$chord")\" <\"$work/ask\" >\"$work/typed.log\" 2>&1" &
exec 3>"$work/ask"
echo >&3
sleep 0.5
as_user wl-copy --foreground "Předchozí obsah" &
sleep 0.3

# The desktop's binding runs the command; the pop-up comes with the keyboard.
swaymsg_as_user exec "${user_env[*]} $program --quick-insert" >/dev/null
wait_focused "Rychlé vložení" || fail "the pop-up did not come with the keyboard (focused: $(focused))"
as_user wtype cizek
sleep 0.3
as_user wtype -k Return
for _ in $(seq 60); do
  [[ -s "$work/arrived.txt" ]] && break
  sleep 0.1
done
got=$(cat "$work/arrived.txt" 2>/dev/null || true)
[[ "$got" == "Mgr. Petr Čížek, Veveří 12, Brno" ]] || fail "the text view holds \"$got\" ($(tail -3 "$work/vorlin.log"))"
clipboard=
for _ in $(seq 40); do
  clipboard=$(as_user wl-paste --no-newline 2>/dev/null || true)
  [[ "$clipboard" == "Předchozí obsah" ]] && break
  sleep 0.1
done
[[ "$clipboard" == "Předchozí obsah" ]] || fail "the clipboard holds \"$clipboard\" instead of what it held before"
wait_focused "Prijemce" || fail "the focus is not back in the text view"
echo "the snippet arrived through the pop-up, the clipboard came back"

# A snippet with a field: the form comes with the keyboard, the day typed
# there gives the deadline that arrives.
swaymsg_as_user exec "${user_env[*]} $program --quick-insert" >/dev/null
wait_focused "Rychlé vložení" || fail "the pop-up did not come back (focused: $(focused))"
as_user wtype lhuta
sleep 0.3
as_user wtype -k Return
wait_focused "Vyplnit pole vorlinu" || fail "the fields form did not come with the keyboard (focused: $(focused))"
as_user wtype -M ctrl a -m ctrl
as_user wtype "3. 12. 2026"
sleep 0.2
as_user wtype -k Return
expected="Mgr. Petr Čížek, Veveří 12, Brno do 18. 12. 2026"
for _ in $(seq 60); do
  [[ "$(cat "$work/arrived.txt" 2>/dev/null)" == "$expected" ]] && break
  sleep 0.1
done
got=$(cat "$work/arrived.txt" 2>/dev/null || true)
[[ "$got" == "$expected" ]] || fail "after the form the text view holds \"$got\" ($(tail -3 "$work/vorlin.log"))"
echo "the snippet's field was filled through the form and arrived"
echo "1 passed, 0 failed"
