#!/bin/sh
# Installs the build into a temporary prefix the way a packager would
# (cmake --install) and checks what lands there: the programs, the help pages
# of the nine languages, the chime, the icons, the menu entries and the
# AppStream metadata (validated), and that the installed monitor finds its
# help pages below the prefix.
# usage: install-check.sh BUILD_DIR SOURCE_DIR
set -eu
build="$1"
source="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" > "$work/install.log"

fail() { echo "install-check: $*" >&2; exit 1; }
for p in tollwatch companion tollreg; do
  test -x "$prefix/bin/$p" || fail "bin/$p is missing"
done
for code in en sv de fr nl it es pt da; do
  test -s "$prefix/share/tollwatch/help/tollwatch-$code.html" || fail "help page $code is missing"
done
test -s "$prefix/share/tollwatch/help/companion-en.html" || fail "the companion's help is missing"
test -s "$prefix/share/tollwatch/sounds/ding.wav" || fail "the chime is missing"
test -s "$prefix/share/tollwatch/holidays/sweden.reg" || fail "the holiday definitions are missing"
for icon in tollwatch tollwatch-dialdart tollwatch-companion; do
  test -s "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" || fail "icon $icon is missing"
done
for entry in Tollwatch TollwatchCompanion; do
  test -s "$prefix/share/applications/$entry.desktop" || fail "$entry.desktop is missing"
done

# The installed monitor finds its help below the prefix.
printf 'clock 2024-03-15 10:00:00\nat +1s click Helpcontents1\nat +1s exit\n' > "$work/help.scn"
HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share" \
  "$prefix/bin/tollwatch" --headless --registry "$work/registry.sqlite" --ras "sim:$work/help.scn" \
  > "$work/run.out"
grep -q "open	file://$prefix/share/tollwatch/help/tollwatch-en.html#contents" "$work/run.out" ||
  { cat "$work/run.out" >&2; fail "the installed monitor did not open its installed help page"; }

skipped=""
if command -v desktop-file-validate > /dev/null; then
  desktop-file-validate "$prefix"/share/applications/*.desktop || fail "desktop entries rejected"
else
  skipped="desktop-file-validate (desktop-file-utils)"
fi
if command -v appstreamcli > /dev/null; then
  appstreamcli validate --no-net --strict "$prefix"/share/metainfo/*.metainfo.xml ||
    fail "AppStream metadata rejected"
else
  skipped="$skipped appstreamcli (appstream)"
fi
if [ -n "$skipped" ]; then
  echo "install-check: not installed, so not validated: $skipped"
  exit 77
fi
echo "install-check: all installed files present and valid"
