#!/usr/bin/env bash
# Installs what is missing, builds, and shows the programs at work on a
# private settings store: a round trip through tollreg.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh default
store="$(mktemp -d)/registry.sqlite"
reg() { build/bin/tollreg --registry "$store" "$@"; }
reg set 'HKCU\Software\Varnholt\Farrowline' 'Show cost' true
reg set 'HKCU\Software\Varnholt\Farrowline' 'Standard Rate' 0.35
reg set 'HKLM\SOFTWARE\Varnholt\Farrowline' 'PC Total time' --dword 125
reg export > "${store%.sqlite}.reg"
echo "--- exported:"
cat "${store%.sqlite}.reg"
echo "--- query:"
reg query 'HKCU\Software\Varnholt\Farrowline'
