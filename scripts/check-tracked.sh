#!/usr/bin/env bash
# Fails when the repository tracks fuzzer findings (crash-*, leak-*, timeout-*, as
# libFuzzer names them): they belong under build/, or in fuzz/corpus under a name that
# says what they test. Usage: scripts/check-tracked.sh
set -euo pipefail
cd "$(dirname "$0")/.."
found=$(git ls-files | grep -E '(^|/)(crash|leak|timeout)-[^/]*$' || true)
if [ -n "$found" ]; then
  echo "check-tracked.sh: fuzzer findings are tracked:" >&2
  echo "$found" >&2
  exit 1
fi
