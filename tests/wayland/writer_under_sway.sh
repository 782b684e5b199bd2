#!/usr/bin/env bash
# LibreOffice Writer as a native Wayland program (GTK 3) and Vorlin's main
# window, both in a headless sway session of a throw-away user: the Writer
# tests run there. Needs root to make the user.
#   writer_under_sway.sh WRITER_WAYLAND_TESTS
set -euo pipefail
tests=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/sway_session.sh"
start_sway
require_reachable "$tests"
cd "$work"
as_user env QT_QPA_PLATFORM=wayland SAL_USE_VCLPLUGIN=gtk3 GDK_BACKEND=wayland "$tests"
