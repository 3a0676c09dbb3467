#!/usr/bin/env bash
# Runs a command in a headless sway of its own with XWayland (a 1600x1000 output,
# software rendering, every window floating with a title bar), SWAYSOCK and
# XWayland's DISPLAY set for it; sway ends with the command, whose exit status this
# script returns. sway will not run as root: as root, sway and the command run as
# the unprivileged user of the end-to-end tests' sway sessions (made where missing).
#
#   with_sway.sh COMMAND [ARG...]
set -euo pipefail

user=skellimor-sway
if [ "$(id -u)" = 0 ]; then
  id "$user" >/dev/null 2>&1 || useradd --create-home --shell /bin/sh "$user"
  exec setpriv --reuid "$user" --regid "$user" --init-groups -- "$0" "$@"
fi
if [ $# -eq 0 ]; then
  echo "usage: $0 COMMAND [ARG...]" >&2
  exit 2
fi

work=$(mktemp -d)
sway_pid=
finish() {
  [ -z "$sway_pid" ] || kill "$sway_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT

mkdir -m 0700 "$work/runtime"
cat >"$work/config" <<CONFIG
xwayland enable
output HEADLESS-1 resolution 1600x1000 position 0 0
default_border normal 2
default_floating_border normal 2
for_window [title=".*"] floating enable
CONFIG
unset DISPLAY WAYLAND_DISPLAY SWAYSOCK
export XDG_RUNTIME_DIR="$work/runtime"
WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$work/config" >"$work/sway.log" 2>&1 &
sway_pid=$!

for _ in $(seq 400); do
  SWAYSOCK=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -name 'sway-ipc.*.sock' | head -n 1)
  [ -n "$SWAYSOCK" ] && swaymsg -s "$SWAYSOCK" -t get_version >/dev/null 2>&1 && break
  kill -0 "$sway_pid" 2>/dev/null || { cat "$work/sway.log" >&2; exit 1; }
  sleep 0.05
done
export SWAYSOCK
# XWayland's display, as sway gives it to the programs it starts.
swaymsg -s "$SWAYSOCK" exec "echo \$DISPLAY > $work/display" >/dev/null
for _ in $(seq 200); do
  [ -s "$work/display" ] && break
  sleep 0.05
done
DISPLAY=$(cat "$work/display")
export DISPLAY

status=0
"$@" || status=$?
exit "$status"
