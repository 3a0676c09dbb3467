#!/usr/bin/env bash
# Runs a Windows test program under Wine, in a Wine prefix and home directory
# that exist only for this run, and exits with its status. Without a display,
# unless --on-display asks for $DISPLAY (a private one: see tests/x11/with_display.sh).
#   run_under_wine.sh [--on-display] WINE PROGRAM [ARGUMENT...]
set -euo pipefail
on_display=0
if [ "${1:-}" = --on-display ]; then
  on_display=1
  shift
fi
wine=$1
shift

scratch=$(mktemp -d "${TMPDIR:-/tmp}/skellimor-wine-XXXXXX")
export HOME="$scratch/home" WINEPREFIX="$scratch/prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko prompts in the fresh prefix
case "$(basename "$wine")" in
  *64) export WINEARCH=win64 ;;
  *) export WINEARCH=win32 ;;
esac
[ "$on_display" = 1 ] || unset DISPLAY
mkdir -p "$HOME"

# Wine's service processes outlive the program; the server of this prefix ends
# them, so that nothing keeps running or holds our output open.
wineserver="$(dirname "$wine")/wineserver"
finish() {
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w 2>/dev/null || true
  rm -rf "$scratch"
}
trap finish EXIT

status=0
"$wine" "$@" >"$scratch/output.txt" 2>&1 || status=$?
cat "$scratch/output.txt"
exit "$status"
