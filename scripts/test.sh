#!/usr/bin/env bash
# Runs every test: host unit tests (with sanitizers), Win32 tests and end-to-end runs of
# real setup programs under Wine, and a short smoke run of every fuzz target.
# Installs what it needs first (as root on Debian 12). Usage: scripts/test.sh
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/configure.sh

bash scripts/install-deps.sh

echo "== building"
kvb_build_host
kvb_build_win
kvb_build_fuzz

echo "== host tests"
ctest --test-dir build/host --output-on-failure -j "$KVB_JOBS" --timeout 300

echo "== Windows tests under Wine"
scripts/with-wine.sh ctest --test-dir build/win --output-on-failure -j "$KVB_JOBS" --timeout 300

echo "== fuzz smoke runs"
scripts/fuzz.sh "${KVB_FUZZ_SECONDS:-20}"

echo "== all tests passed"
