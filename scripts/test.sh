#!/usr/bin/env bash
# Runs every test: host unit tests (with sanitizers), Win32 tests and end-to-end runs of
# real setup programs under Wine, and a short smoke run of every fuzz target.
# Installs what it needs first (as root on Debian 12). Usage: scripts/test.sh
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/configure.sh

bash scripts/install-deps.sh

# Prints how long the phase that just ended took.
phase_end() {
  echo "-- $1 took $((SECONDS - phase_start)) s"
  phase_start=$SECONDS
}
phase_start=$SECONDS

echo "== repository"
bash scripts/check-tracked.sh
phase_end "repository"

echo "== building"
kvb_build_host
kvb_build_win
kvb_build_fuzz
phase_end "building"

echo "== host tests"
ctest --test-dir build/host --output-on-failure -j "$KVB_JOBS" --timeout 300
phase_end "host tests"

echo "== Windows tests under Wine"
# A failing test runs once more: about one test process in a thousand passes and then
# crashes while exiting under Wine (seen in two different test programs, never twice in
# a row). The first attempt's output stays in the log with its "***" line.
scripts/with-wine.sh ctest --test-dir build/win --output-on-failure -j "$KVB_JOBS" --timeout 300 \
  --repeat until-pass:2
phase_end "Windows tests"

echo "== fuzz smoke runs"
KVB_FUZZ_SEED=${KVB_FUZZ_SEED:-1} scripts/fuzz.sh "${KVB_FUZZ_SECONDS:-20}"
phase_end "fuzz smoke runs"

echo "== all tests passed in $SECONDS s"
