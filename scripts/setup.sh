#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the programs need.
# Idempotent and quiet: packages already present are not fetched again.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libxcb1-dev
  libjpeg-dev libjpeg-turbo-progs libgif-dev libpng-dev
  libsdl2-mixer-dev timgm6mb-soundfont
  libcli11-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth imagemagick xdotool
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
echo "Installing: ${missing[*]}" >&2
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
