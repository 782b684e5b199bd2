#!/usr/bin/env bash
# The hostile trees through the private office as an ordinary user, as users
# run the program: the office's network is cut through a user namespace of
# its own there, not the way root cuts it. Needs root to make the user.
#   hostile_trees_as_user.sh FILE_SET_OFFICE_TESTS
set -euo pipefail
tests=$1
if [[ $(id -u) -ne 0 ]]; then
  echo "not root: the run as another user is left out"
  exit 0
fi
user=vorlin-zkouska
id "$user" >/dev/null 2>&1 || useradd --create-home --shell /usr/sbin/nologin "$user"
home=$(getent passwd "$user" | cut -d: -f6)
cd "$home"
# A build in a folder other users cannot enter (a checkout under /root) leaves
# nothing to run as them.
if ! runuser -u "$user" -- test -x "$tests"; then
  echo "the test program is out of reach of other users here: the run as another user is left out"
  exit 0
fi
exec runuser -u "$user" -- env -i PATH=/usr/bin:/bin HOME="$home" LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen \
  "$tests" --gtest_filter='*Hostile*'
