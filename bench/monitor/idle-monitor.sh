#!/usr/bin/env bash
# The monitor at rest: starts tollwatch on a store of its own with a
# connection source that lists no connection, lets it run, and prints the CPU
# share it took (the on-CPU time of all its threads over the wall time) and its
# resident memory (at the end, and the peak).
#
# usage: bench/monitor/idle-monitor.sh [--window] [--ras SOURCE] [--bin DIR] [SECONDS]
#   SECONDS   how long to watch it, 600 by default (the measurement of record);
#             a shorter run is a quick check
#   --window  the status window and tray icon under a virtual display
#             (xvfb-run), instead of the headless monitor
#   --ras     the connection source, "sim" (a scenario without connections) by
#             default; "auto", "ppp" or "networkmanager" measure a real one
#   --bin     where tollwatch is, build/bin of the source tree by default
set -euo pipefail

here="$(cd "$(dirname "$0")/../.." && pwd)"
bin="$here/build/bin"
seconds=600
window=0
ras=sim
while [ $# -gt 0 ]; do
  case "$1" in
    --window) window=1 ;;
    --ras) ras="$2"; shift ;;
    --bin) bin="$2"; shift ;;
    *) seconds="$1" ;;
  esac
  shift
done

work="$(mktemp -d)"
pid=""
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# The monitor's own settings: no wizard, a log in the work folder.
store="$work/registry.sqlite"
"$bin/tollreg" --registry "$store" set 'HKCU\Software\Varnholt\Farrowline' 'Skip intro' true
"$bin/tollreg" --registry "$store" set 'HKCU\Software\Varnholt\Farrowline' 'Log Filename' "$work/access.txt"
source="$ras"
if [ "$ras" = sim ]; then
  printf 'entry "Home"\n' > "$work/idle.scn"
  source="sim:$work/idle.scn"
fi
export HOME="$work" XDG_RUNTIME_DIR="$work"
chmod 700 "$work"

args=(--registry "$store" --ras "$source")
if [ "$window" = 1 ]; then
  xvfb-run -a -s "-screen 0 1024x768x24" "$bin/tollwatch" "${args[@]}" > "$work/out.txt" 2>&1 &
  launcher=$!
  # xvfb-run starts the monitor as its child; wait for it to appear.
  for _ in $(seq 100); do
    pid="$(pgrep -n -x -P "$launcher" tollwatch || true)"
    [ -n "$pid" ] && break
    sleep 0.1
  done
else
  "$bin/tollwatch" --headless "${args[@]}" > "$work/out.txt" 2>&1 &
  pid=$!
fi
[ -n "$pid" ] || { echo "idle-monitor: tollwatch did not start" >&2; exit 1; }

# On-CPU nanoseconds of every thread of the process.
cpu_ns() {
  local total=0 t
  for t in /proc/"$pid"/task/*/schedstat; do
    total=$((total + $(cut -d' ' -f1 "$t")))
  done
  echo "$total"
}

# Measured from the end of start-up on.
sleep 5
start_cpu="$(cpu_ns)"
start_wall="$(date +%s%N)"
sleep "$seconds"
end_cpu="$(cpu_ns)"
end_wall="$(date +%s%N)"
rss="$(awk '/^VmRSS/ {print $2}' /proc/"$pid"/status)"
peak="$(awk '/^VmHWM/ {print $2}' /proc/"$pid"/status)"

mode=headless
[ "$window" = 1 ] && mode=window
awk -v cpu=$((end_cpu - start_cpu)) -v wall=$((end_wall - start_wall)) \
    -v rss="$rss" -v peak="$peak" -v mode="$mode" -v ras="$ras" 'BEGIN {
  printf "idle monitor (%s, %s source) over %.0f s: CPU %.4f %% (%.3f s), RSS %.1f MB (peak %.1f MB)\n",
         mode, ras, wall / 1e9, 100 * cpu / wall, cpu / 1e9, rss / 1024, peak / 1024
}'
