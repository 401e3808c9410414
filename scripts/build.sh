#!/usr/bin/env bash
# The first set-up command: installs what is missing (as root on Debian 12), builds
# everything, and runs the main job: builds the example package and runs its setup under
# Wine. With a working display the setup opens there for you to use; otherwise (and in
# CI, or with KVB_HEADLESS=1) it runs on a private Xvfb screen, driven by kvbdriver:
# first the variant with a background window (scripts/sample-back.drive: its first page,
# then Cancel), then the example to its end (scripts/sample.drive), with screenshots
# saved along the way.
# Usage: scripts/build.sh
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/configure.sh

bash scripts/install-deps.sh

echo "== building"
kvb_build_host
kvb_build_win
kvb_build_fuzz

run=$KVB_ROOT/build/sample
setup=$run/setup.exe
back_setup=$run/setup-back.exe
rm -rf "$run"
mkdir -p "$run/screenshots"

echo "== building the example package and its variant with a background window"
for variant in sample:"$setup" sample-back:"$back_setup"; do
  build/host/tools/kvbpack/kvbpack build "examples/sample/${variant%%:*}.toml" -o "${variant#*:}" \
    --stub build/win/src/startup/kvbsetup.exe --uninstaller build/win/tools/kvbuninst/kvbuninst.exe
done
echo "packages: $setup $back_setup"

. scripts/wine-env.sh
kvb_wine_prefix_init
kvb_wine_prefix_copy "$run/prefix"
export WINEPREFIX=$run/prefix

# The release notes that the example's last page downloads, served on 127.0.0.1 only.
python3 tests/net/http_test_server.py --port 8731 --port-file "$run/notes-server.port" \
  --seconds 900 2>"$run/notes-server.log" &
notes_server=$!

# Whatever happens, the run's wineserver, Xvfb and the local server are stopped at the end.
KVB_XVFB_PID=""
trap 'kvb_wine_server_stop; kvb_xvfb_stop; kill "$notes_server" 2>/dev/null' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# drive SETUP STEPS-FILE: runs SETUP under kvbdriver following STEPS-FILE; the driver asks
# for each screenshot on its output and waits for a line back. Leaves the driver's status
# in $status.
drive() {
  coproc DRIVER {
    wine build/win/tools/driver/kvbdriver.exe -s "start $(kvb_winpath "$1")" \
      -f "$(kvb_winpath "$KVB_ROOT/$2")" 2>&1
  }
  local driver_pid=$DRIVER_PID line  # bash forgets it once the coprocess ends
  while IFS= read -r line <&"${DRIVER[0]}"; do
    line=${line%$'\r'}
    echo "   | $line"
    if [[ $line == "screenshot "* ]]; then
      scripts/screenshot.sh "$run/screenshots/${line#screenshot }.png"
      echo >&"${DRIVER[1]}"
    fi
  done
  set +e
  wait "$driver_pid"
  status=$?
  set -e
}

headless=${KVB_HEADLESS:-}
[ -n "${CI:-}" ] && headless=1
if [ -z "$headless" ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "== running the setup on $DISPLAY"
  kvb_wine_server_start
  set +e
  wine "$setup" </dev/null
  status=$?
  set -e
else
  echo "== running the setups headless (Xvfb), driven by scripts/sample-back.drive and scripts/sample.drive"
  kvb_xvfb_start new
  kvb_wine_server_start
  drive "$back_setup" scripts/sample-back.drive
  [ "$status" -eq 0 ] || { echo "the background-window variant's run failed ($status)"; exit 1; }
  drive "$setup" scripts/sample.drive
fi

echo "setup run ended with status $status"
echo "screenshots:     $run/screenshots"
echo "installed files: $run/prefix/drive_c (the run's Wine prefix: WINEPREFIX=$run/prefix)"
exit "$status"
