#!/usr/bin/env bash
# Installs everything the build and the tests need on Debian 12, idempotently.
# Run as root. Safe to run again: packages already present are left alone.
set -euo pipefail

need_root() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps.sh: run as root (it installs Debian packages)" >&2
    exit 1
  fi
}

packages=(
  # host build and tests
  build-essential cmake ninja-build pkg-config
  libgtest-dev googletest zlib1g-dev libdeflate-dev
  libtomlplusplus-dev libcli11-dev
  clang libclang-rt-14-dev
  # cross build for 32-bit Windows
  g++-mingw-w64-i686 gcc-mingw-w64-i686 binutils-mingw-w64-i686 libz-mingw-w64-dev
  # the device agents: C compilers for the handhelds' instruction sets
  gcc-arm-linux-gnueabi gcc-mipsel-linux-gnu gcc-sh4-linux-gnu
  # running and driving Windows programs
  wine wine32 wine64 xvfb xauth x11-apps x11-utils xdotool imagemagick liblnk-utils
  # fetching libdeflate's source for the cross build
  dpkg-dev
  # network tests: local servers, test certificates, a network namespace with loopback only
  python3 openssl iproute2 util-linux
  # signing setups (kvbpack sign and verify)
  osslsigncode
  # the peer installer the installation benchmark compares against (bench/install)
  nsis
)

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    local name=$p
    case "$p" in wine32) name="wine32:i386" ;; esac
    if ! dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q "install ok installed"; then
      echo "$p"
    fi
  done
}

main() {
  local missing
  missing=$(missing_packages || true)
  if [ -z "$missing" ]; then
    echo "install-deps.sh: all packages present"
    return 0
  fi
  need_root
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  # shellcheck disable=SC2086
  apt-get install -y -q --no-install-recommends $(echo "$missing" | sed 's/^wine32$/wine32:i386/')
}

main "$@"
