#!/usr/bin/env bash
# Runs a command inside a Wine session: prefix ready, a display (Xvfb when there is no
# working one) and a persistent wineserver; all of it is stopped again afterwards.
# Example: scripts/with-wine.sh ctest --test-dir build/win
set -u
. "$(dirname "$0")/wine-env.sh"
kvb_wine_prefix_init
KVB_XVFB_PID=""
trap 'kvb_wine_server_stop; kvb_xvfb_stop' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
kvb_xvfb_start || exit 1
kvb_wine_server_start
"$@"
