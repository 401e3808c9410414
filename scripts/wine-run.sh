#!/usr/bin/env bash
# Runs a Windows program under the project's Wine prefix: ctest's emulator for the
# cross build. Exit codes pass through.
set -u
. "$(dirname "$0")/wine-env.sh"
kvb_wine_prefix_init
exec wine "$@"
