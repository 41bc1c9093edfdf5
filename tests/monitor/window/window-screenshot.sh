#!/bin/sh
# Starts the monitor in German under a virtual X display at 96 dpi and checks
# the window as a user sees it: the compact height (1.32 inch), the design
# width kept, and the About box it opens; leaves pictures of both in OUT_DIR.
# usage: window-screenshot.sh BIN_DIR OUT_DIR
set -eu
bin="$1"
out="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
reg="$work/registry.sqlite"
"$bin/tollreg" --registry "$reg" set 'HKCU\Software\Varnholt\Farrowline' 'Skip intro' true
"$bin/tollreg" --registry "$reg" set 'HKCU\Software\Varnholt\Farrowline' Language 4
printf 'entry "Provider"\nat 00:00:03 click About1\n' > "$work/about.scn"
export XDG_RUNTIME_DIR="$work/runtime" HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$HOME"
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" sh -c '
  "$1/tollwatch" --registry "$2/registry.sqlite" --ras "sim:$2/about.scn" &
  pid=$!
  main=$(xdotool search --sync --onlyvisible --name "^Tollwatch\$" | head -n 1)
  xdotool getwindowgeometry "$main" | sed -n "s/.*Geometry: //p" > "$2/geometry.txt"
  import -window root "$3/monitor-de-compact.png"
  about=$(xdotool search --sync --onlyvisible --name "^Info über Tollwatch\$" | head -n 1)
  sleep 0.5
  import -window root "$3/monitor-de-about.png"
  kill $pid
' sh "$bin" "$work" "$out"
test -s "$out/monitor-de-about.png"
geometry="$(cat "$work/geometry.txt")"
if [ "$geometry" != "320x126" ]; then
  echo "window-screenshot: the compact window is $geometry, not 320x126" >&2
  exit 1
fi
