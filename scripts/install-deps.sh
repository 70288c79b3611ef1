#!/usr/bin/env bash
# Installs every Debian package that building, testing and playing Cardwise needs.
# Idempotent: does nothing when all packages are present. Non-interactive.
set -euo pipefail

PACKAGES=(
  # toolchain
  build-essential cmake ninja-build pkg-config git
  # Qt 6 (the window, pictures, charts, sound)
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-charts-dev qt6-qpa-plugins
  qt6-multimedia-dev libgl-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # fuzzing (clang's libFuzzer runtime)
  clang libclang-rt-14-dev
  # headless display, fonts
  xvfb xauth fonts-dejavu-core
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${1:-}" = "--check" ]; then
  [ ${#missing[@]} -eq 0 ]
  exit
fi

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then SUDO="sudo"; else
    echo "install-deps: run as root to install: ${missing[*]}" >&2; exit 1
  fi
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q "${missing[@]}"
