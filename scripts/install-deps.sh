#!/usr/bin/env bash
# Installs the Debian packages that building and testing Realtopia needs.
# Does nothing when everything is already present; uses sudo when not root.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-multimedia-dev libgl1-mesa-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 xvfb xauth
  desktop-file-utils appstream dpkg-dev file
)

# `install-deps.sh fuzz` adds what the fuzzers need.
if [ "${1:-}" = fuzz ]; then packages+=(clang-14 libclang-rt-14-dev); fi
# `install-deps.sh web` adds the WebAssembly compiler and Node.js (its optimiser runs on it);
# `install-deps.sh web-test` also the headless browser that the page's test drives.
if [ "${1:-}" = web ] || [ "${1:-}" = web-test ]; then packages+=(emscripten nodejs python3); fi
if [ "${1:-}" = web-test ]; then packages+=(chromium); fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
run() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
export DEBIAN_FRONTEND=noninteractive
if ! run apt-get install -y --no-install-recommends "${missing[@]}"; then
  run apt-get update
  run apt-get install -y --no-install-recommends "${missing[@]}"
fi
