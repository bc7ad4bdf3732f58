#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, once: missing packages through apt-get and
# a decimal-comma locale for the locale tests. Safe to run again; it does nothing when all is there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config g++ clang libclang-rt-14-dev
  qt6-base-dev libgl-dev libjpeg-dev libtiff-dev libhidapi-dev libcurl4-openssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core locales poppler-utils xvfb xauth
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A locale whose decimal character is a comma, for the value-text tests.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "setup: generating de_DE.UTF-8"
  if [ -f /etc/locale.gen ]; then
    "${sudo_cmd[@]}" sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  fi
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi
