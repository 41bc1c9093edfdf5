#!/bin/sh
# Starts the companion under a virtual X display with a generated log and a
# private settings store, and leaves a picture of the screen in OUT.
# usage: window-screenshot.sh BIN_DIR OUT
set -eu
bin="$1"
out="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
i=0
: > "$work/access.txt"
while [ $i -lt 60 ]; do
  printf 'user%d;2000-%02d-%02d;10:%02d:00;%d;%d,%02d;1,20;3,40;Provider %d\r\n' \
    $((i % 5)) $((1 + i % 12)) $((1 + i % 28)) $((i % 60)) $((5 + i * 7 % 90)) \
    $((i % 17)) $((i * 7 % 100)) $((i % 3)) >> "$work/access.txt"
  i=$((i + 1))
done
"$bin/tollreg" --registry "$work/registry.sqlite" set \
  'HKCU\Software\Varnholt\Tollwatch Companion\Log Files' 'Log file 1' "$work/access.txt"
# The log is written in Swedish formats, and read the same way.
export LC_ALL=sv_SE.UTF-8 XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
  "$1/companion" --registry "$2/registry.sqlite" &
  pid=$!
  xdotool search --sync --name "Tollwatch Companion" >/dev/null
  # Wait until two pictures in a row are the same: the compile run is done
  # and the window painted.
  n=0
  import -window root "$2/a.png"
  while [ $n -lt 40 ]; do
    import -window root "$2/b.png"
    if cmp -s "$2/a.png" "$2/b.png"; then break; fi
    mv "$2/b.png" "$2/a.png"
    n=$((n + 1))
  done
  cp "$2/a.png" "$3"
  # The first toolbar button opens the Options dialog, captioned with its
  # own text alone, nothing appended.
  main=$(xdotool search --name "^Tollwatch Companion\$" | head -n 1)
  xdotool mousemove --window "$main" 20 38 click 1
  options=$(xdotool search --sync --name "^Options" | head -n 1)
  xdotool getwindowname "$options" > "$2/options-caption.txt"
  kill $pid
' sh "$bin" "$work" "$out"
test -s "$out"
test "$(cat "$work/options-caption.txt")" = "Options"
