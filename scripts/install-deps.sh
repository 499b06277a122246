#!/usr/bin/env bash
# Installs the Debian packages the build, the player and the tests need,
# only those that are missing.
set -euo pipefail
packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev libgl-dev libssl-dev libhdf5-dev
  # The HDF5 export deflates its chunks on every core with it.
  zlib1g-dev
  libavformat-dev libavcodec-dev libavutil-dev libswscale-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth fonts-dejavu-core
  poppler-utils
  clang-format git
  # The review file's JSON is read and written with it (header-only).
  nlohmann-json3-dev
  # h5dump and h5diff: an export is compared with another, dataset by dataset.
  hdf5-tools
)
# The fuzzer needs clang and its sanitizer runtime on top.
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-14-dev)
fi
# The Debian package computes its dependencies with dpkg-shlibdeps.
if [ "${1:-}" = "--package" ]; then
  packages+=(dpkg-dev file desktop-file-utils)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
      echo "These Debian packages are missing and installing them needs root:" >&2
      echo "  apt-get install ${missing[*]}" >&2
      echo "Run that as root, then run this command again." >&2
      exit 1
    fi
    sudo="sudo"
  fi
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
