#!/usr/bin/env bash
# Installs every Debian package Vellix needs to build, test and run its demo.
# Idempotent: apt-get update runs only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-qpa-plugins
  libcurl4-openssl-dev libssl-dev openssl
  libgtest-dev libgmock-dev googletest libbenchmark-dev libpugixml-dev
  libhunspell-dev hunspell-en-us
  libx11-dev libxss-dev libxtst-dev libcanberra-dev
  clang libclang-rt-14-dev
  xvfb xauth xdg-utils tinyproxy dbus-daemon
  # the desktop's address book: contact synchronization's store and its test daemons
  libebook1.2-dev evolution-data-server
  # a notification area for the tray tests under Xvfb
  trayer
  # the vCard address-book tool the contact synchronization tests read and edit cards with
  khard
  clang-format python3
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
