#!/usr/bin/env bash
# Runs a command on a private virtual display: Xvfb 1600x1000x24 on a display
# number no one else uses, with openbox managing its windows unless
# --no-window-manager is given; --no-shared-memory leaves out the server's MIT-SHM
# extension (and says so in SKELLIMOR_DISPLAY_WITHOUT_SHARED_MEMORY). Display and
# window manager end with the command, whose exit status this script returns.
#
#   with_display.sh [--no-window-manager] [--no-shared-memory] COMMAND [ARG...]
set -euo pipefail

window_manager=1
server_options=()
while true; do
  case "${1:-}" in
    --no-window-manager) window_manager=0; shift ;;
    --no-shared-memory) server_options+=(-extension MIT-SHM); export SKELLIMOR_DISPLAY_WITHOUT_SHARED_MEMORY=1; shift ;;
    *) break ;;
  esac
done
if [ $# -eq 0 ]; then
  echo "usage: $0 [--no-window-manager] [--no-shared-memory] COMMAND [ARG...]" >&2
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
