#!/usr/bin/env bash
# Runs a command on a private virtual display: Xvfb 1600x1000x24 on a display
# number no one else uses, with openbox managing its windows unless
# --no-window-manager is given; --no-shared-memory leaves out the server's MIT-SHM
# extension (and says so in SKELLIMOR_DISPLAY_WITHOUT_SHARED_MEMORY); --xwayland
# gives the X server of a Wayland session instead: weston's, headless, whose own
# window manager frames the windows. Display and window manager end with the
# command, whose exit status this script returns.
#
#   with_display.sh [--no-window-manager] [--no-shared-memory | --xwayland] COMMAND [ARG...]
set -euo pipefail

window_manager=1
xwayland=0
server_options=()
while true; do
  case "${1:-}" in
    --no-window-manager) window_manager=0; shift ;;
    --no-shared-memory) server_options+=(-extension MIT-SHM); export SKELLIMOR_DISPLAY_WITHOUT_SHARED_MEMORY=1; shift ;;
    --xwayland) xwayland=1; window_manager=0; shift ;;
    *) break ;;
  esac
done
if [ $# -eq 0 ]; then
  echo "usage: $0 [--no-window-manager] [--no-shared-memory | --xwayland] COMMAND [ARG...]" >&2
  exit 2
fi

work=$(mktemp -d)
pids=()
finish() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT

if [ "$xwayland" = 1 ]; then
  # weston starts XWayland on a free display and names it in its log.
  mkdir -m 0700 "$work/runtime"
  XDG_RUNTIME_DIR="$work/runtime" weston --backend=headless-backend.so --xwayland --idle-time=0 \
    --width=1600 --height=1000 --socket=wayland-0 >"$work/weston.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 200); do
    grep -q "xserver listening on display" "$work/weston.log" && break
    kill -0 "${pids[0]}" 2>/dev/null || { cat "$work/weston.log" >&2; exit 1; }
    sleep 0.05
  done
  DISPLAY=$(grep -o "xserver listening on display :[0-9]*" "$work/weston.log" | grep -o ":[0-9]*$")
else
  # Xvfb picks a free display and writes its number to the descriptor given, once
  # it accepts connections.
  exec {display_fd}>"$work/display"
  Xvfb -displayfd "$display_fd" -screen 0 1600x1000x24 -nolisten tcp -noreset "${server_options[@]}" >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  exec {display_fd}>&-
  for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    kill -0 "${pids[0]}" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
    sleep 0.05
  done
  DISPLAY=:$(head -n 1 "$work/display")
fi
export DISPLAY

if [ "$window_manager" = 1 ]; then
  openbox >"$work/openbox.log" 2>&1 &
  pids+=($!)
  # openbox is ready once it manages a window: it lists a probe among its clients.
  xmessage -name probe -geometry +0+0 probe >/dev/null 2>&1 &
  probe=$!
  for _ in $(seq 200); do
    xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q '0x' && break
    sleep 0.05
  done
  kill "$probe"
  wait "$probe" 2>/dev/null || true
  for _ in $(seq 200); do
    xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q '0x' || break
    sleep 0.05
  done
fi

status=0
"$@" || status=$?
exit "$status"
