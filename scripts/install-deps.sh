#!/usr/bin/env bash
# Installs the Debian packages that building and testing Realtopia needs.
# Does nothing when everything is already present; uses sudo when not root.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-multimedia-dev libgl1-mesa-dev libxcb1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 xvfb xauth
  desktop-file-utils appstream dpkg-dev file
)

# Extras, asked for by name: `fuzz` (the fuzzers), `bench` (the benchmarks on a virtual
# display: keys typed by xdotool, screenshots by ImageMagick), `package` (lintian, which
# `make package` runs on the package it builds), `web` (the WebAssembly compiler and Node.js,
# on which its optimiser runs), `web-test` (also the headless browser the page's test drives)
# `format` (clang-format, for `make format` and scripts/check-format.sh) and `web-lint` (npm,
# which fetches the page scripts' checkers, for scripts/check-web-scripts.sh).
for extra in "$@"; do
  case "$extra" in
    fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;
    bench) packages+=(xdotool imagemagick) ;;
    package) packages+=(lintian) ;;
    web) packages+=(emscripten nodejs python3 brotli) ;;
    web-test) packages+=(emscripten nodejs python3 brotli chromium) ;;
    format) packages+=(clang-format) ;;
    # A Node.js from elsewhere brings its own npm, which Debian's package would conflict with.
    web-lint) packages+=(nodejs); command -v npm >/dev/null || packages+=(npm) ;;
    *) echo "install-deps.sh: unknown extra '$extra' (fuzz, bench, package, web, web-test, format, web-lint)" >&2; exit 2 ;;
  esac
done

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
