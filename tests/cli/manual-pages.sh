#!/bin/sh
# The manual pages format without a warning, carry the programs' version, and
# name every option and switch that the program's --help lists.
# usage: manual-pages.sh BIN_DIR MAN_DIR
set -eu
bin="$1"
man="$2"
fail() { echo "manual-pages: $*" >&2; exit 1; }
command -v groff > /dev/null || { echo "manual-pages: groff is missing (groff-base)"; exit 77; }

for program in tollwatch companion tollreg; do
  page="$man/$program.1"
  test -s "$page" || fail "$page is missing"
  warnings="$(groff -man -Tascii -ww -z "$page" 2>&1)"
  [ -z "$warnings" ] || fail "$program.1: $warnings"
  # The page as a reader sees it: plain text, no overstriking.
  text="$(groff -man -Tascii -P-cbou "$page" 2>/dev/null)"
  version="$("$bin/$program" --version | sed 's/^[^ ]* //')"
  printf '%s\n' "$text" | grep -q "Tollwatch $version" ||
    fail "$program.1 does not name version $version"
  # Options (-h, --help, ...) and switches (/I, /c) as --help lists them.
  names="$("$bin/$program" --help |
    grep -oE '(^|[ ,(])(--?[a-zA-Z][a-zA-Z-]*|/[A-Za-z])' | sed 's/^[ ,(]//' | sort -u)"
  [ -n "$names" ] || fail "$program --help lists no option"
  for name in $names; do
    printf '%s\n' "$text" | grep -qE -- "(^|[^a-zA-Z-])$name([^a-zA-Z-]|\$)" ||
      fail "$program.1 does not mention $name, which $program --help lists"
  done
done
echo "manual-pages: all pages format cleanly and name every option of --help"
