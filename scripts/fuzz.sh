#!/usr/bin/env bash
# Runs every fuzz target of build/fuzz for the given number of seconds each (default 600),
# starting from its seed corpus under fuzz/corpus/<target> when there is one.
# A crash, leak or time-out fails the run; its input lands in build/fuzz/findings/<target>.
# Usage: scripts/fuzz.sh [seconds] [target...]
# KVB_FUZZ_SEED fixes libFuzzer's random seed (the test command's smoke runs use one, so
# the same tree gives the same runs); without it every run explores anew.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for exe in build/fuzz/fuzz/*_fuzz; do
    [ -x "$exe" ] && targets+=("$(basename "$exe")")
  done
fi
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz.sh: no fuzz targets built"
  exit 0
fi
# run_target TARGET: one fuzzing run; its output goes to the target's log and its exit
# status to the target's .status file, so that runs can go on side by side.
run_target() {
  local t=$1 status=0 seeds=() seed=()
  local work="build/fuzz/corpus-work/$t" findings="build/fuzz/findings/$t"
  mkdir -p "$work" "$findings"
  [ -d "fuzz/corpus/$t" ] && seeds+=("fuzz/corpus/$t")
  [ -n "${KVB_FUZZ_SEED:-}" ] && seed=(-seed="$KVB_FUZZ_SEED")
  "build/fuzz/fuzz/$t" "${seed[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$findings/" -print_final_stats=1 "$work" "${seeds[@]}" \
    >"build/fuzz/corpus-work/$t.log" 2>&1 || status=$?
  echo "$status" >"build/fuzz/corpus-work/$t.status"
}

# As many runs at a time as there are cores (KVB_FUZZ_JOBS overrides): each target is a
# single process, and the smoke runs of the test command would otherwise leave cores idle.
parallel=${KVB_FUZZ_JOBS:-$(nproc)}
mkdir -p build/fuzz/corpus-work
for t in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do wait -n || true; done
  echo "-- $t for ${seconds}s"
  run_target "$t" &
done
wait

failed=0
for t in "${targets[@]}"; do
  log="build/fuzz/corpus-work/$t.log"
  status=$(cat "build/fuzz/corpus-work/$t.status" 2>/dev/null || echo 1)
  echo "-- $t"
  grep -E "^(stat::number_of_executed_units|==[0-9]+==ERROR|SUMMARY)" "$log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$log" >&2
    echo "fuzz.sh: $t failed (exit $status); the input is in build/fuzz/findings/$t" >&2
    failed=1
  fi
done
exit "$failed"
