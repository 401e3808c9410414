#!/usr/bin/env bash
# Runs the archive benchmark (bench/archive): natively from a release build of its own
# (build/bench, optimised, without the sanitizers of the test build), and as the Windows
# program under Wine from the Windows build, the figure that counts. Prints the machine's
# load before each run: on a busy machine the times are noisy.
#   scripts/bench.sh [--size MiB] [--native-only | --wine-only]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/configure.sh

args=() native=1 wine=1
while [ $# -gt 0 ]; do
  case "$1" in
    --size) args+=(--size "$2"); shift 2 ;;
    --native-only) wine=0; shift ;;
    --wine-only) native=0; shift ;;
    *) echo "usage: $0 [--size MiB] [--native-only | --wine-only]" >&2; exit 2 ;;
  esac
done

if [ "$native" = 1 ]; then
  cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build/bench -j "$KVB_JOBS" --target archive_bench
  echo "== native archive benchmark (load: $(cut -d' ' -f1-3 /proc/loadavg))"
  build/bench/bench/archive/archive_bench "${args[@]}" --dir build/bench/work
fi
if [ "$wine" = 1 ]; then
  [ -d build/win ] || { echo "bench.sh: configure the Windows build first (scripts/build.sh)" >&2; exit 1; }
  cmake --build build/win -j "$KVB_JOBS" --target archive_bench
  echo "== Windows archive benchmark under Wine (load: $(cut -d' ' -f1-3 /proc/loadavg))"
  scripts/with-wine.sh wine build/win/bench/archive/archive_bench.exe "${args[@]}"
fi
