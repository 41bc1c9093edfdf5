#!/usr/bin/env bash
# Installs every Debian package Tollwatch needs to build, test and run.
# Idempotent: when everything is present it changes nothing and does not
# touch the network.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-tools-dev qt6-l10n-tools libgl-dev
  qt6-svg-dev
  libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev sqlite3
  clang-format
  xvfb xauth x11-utils trayer imagemagick xdotool
  dbus dbus-x11 python3-dbus python3-dbusmock
  dovecot-pop3d openssl xdg-utils iproute2 iputils-ping
  qt6-translations-l10n desktop-file-utils appstream
  mawk
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages: ${missing[*]}" >&2
  echo "install-deps: run this script as root (or with sudo) to install them" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
