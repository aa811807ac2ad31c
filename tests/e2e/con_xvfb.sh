#!/usr/bin/env bash
# con_xvfb.sh COMMAND...: runs COMMAND on a private virtual X server. The server picks
# a free display itself and says which once it accepts connections (-displayfd), so two
# runs never race for a display number and nothing starts before the server is ready.
# -noreset: without it the server resets whenever its last client leaves and refuses a
# program that is connecting at that moment.
set -euo pipefail
numero=$(mktemp)
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$numero" 2>/dev/null &
servidor=$!
trap 'kill "$servidor" 2>/dev/null || true; wait "$servidor" 2>/dev/null || true; rm -f "$numero"' EXIT
for _ in $(seq 1 200); do
  [ -s "$numero" ] && break
  kill -0 "$servidor" 2>/dev/null || { echo "Xvfb failed to start" >&2; exit 1; }
  sleep 0.05
done
[ -s "$numero" ] || { echo "Xvfb did not become ready" >&2; exit 1; }
export DISPLAY=":$(tr -dc '0-9' <"$numero")"
"$@"
