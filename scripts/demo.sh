#!/usr/bin/env bash
# Installs what is missing, builds, and replays a short dial-up evening on a
# private settings store: the monitor runs headless on a simulated connection
# source and a virtual clock, and shows what it tells the user.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh default
work="$(mktemp -d)"
store="$work/registry.sqlite"
build/bin/tollreg --registry "$store" set 'HKCU\Software\Varnholt\Farrowline' 'Log Filename' "$work/access.txt" >/dev/null
build/bin/tollreg --registry "$store" set 'HKCU\Software\Varnholt\Farrowline' 'Skip intro' true >/dev/null
build/bin/tollreg --registry "$store" set 'HKCU\Software\Varnholt\Farrowline' 'Show cost' true >/dev/null
echo "--- tollwatch --headless --registry $store --ras sim:resources/scenarios/demo.scn"
build/bin/tollwatch --headless --registry "$store" --ras sim:resources/scenarios/demo.scn
echo "--- the connection log:"
cat "$work/access.txt"
echo "--- the totals in the store:"
build/bin/tollreg --registry "$store" query 'HKCU\Software\Varnholt\Farrowline' | grep -E 'Connected|Connection Cost|Bad termination' || true
