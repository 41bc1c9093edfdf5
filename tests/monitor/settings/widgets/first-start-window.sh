#!/bin/sh
# Starts the monitor's window on an empty settings store under a virtual X
# display: the Monitor Wizard must open first; Return takes each page's
# default button (Next, then Done), and the tariff must be stored when the
# monitor ends. Leaves a picture of the screen with the wizard in OUT.
# usage: first-start-window.sh BIN_DIR OUT
set -eu
bin="$1"
out="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/runtime" HOME="$work/home"
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir "$HOME"
cat > "$work/idle.scn" <<'SCN'
entry "Home"
SCN
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
  "$1/tollwatch" --registry "$2/registry.sqlite" --ras "sim:$2/idle.scn" &
  pid=$!
  wizard=$(xdotool search --sync --onlyvisible --name "^Monitor Wizard\$" | head -n 1)
  # Wait until two pictures in a row are the same: the wizard is painted.
  import -window root "$2/a.png"
  n=0
  while [ $n -lt 40 ]; do
    import -window root "$2/b.png"
    if cmp -s "$2/a.png" "$2/b.png"; then break; fi
    mv "$2/b.png" "$2/a.png"
    n=$((n + 1))
  done
  cp "$2/a.png" "$3"
  # Language, tariff kind, amounts, Done: the keys are handled in order.
  xdotool windowfocus --sync "$wizard" key Return Return Return Return
  # The status window comes up once the wizard is done.
  xdotool search --sync --onlyvisible --name "^Tollwatch\$" >/dev/null
  kill $pid
  wait $pid
' sh "$bin" "$work" "$out"
test -s "$out"
query() { "$bin/tollreg" --registry "$work/registry.sqlite" query 'HKCU\Software\Varnholt\Farrowline'; }
query | grep -qx '"Skip intro"="true"'
query | grep -qx '"Standard rate"="0.20"'
query | grep -qx '"One rate"="true"'
query | grep -qx '"Language"="2"'
