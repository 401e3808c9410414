# Wine environment of the project: sourced by the scripts, never run on its own.
# Every wine call of the project uses its own 32-bit prefix inside the build folder,
# so ~/.wine is never touched.

KVB_ROOT=${KVB_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${KVB_WINEPREFIX:-$KVB_ROOT/build/wine/prefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Creates the prefix once (about 10 s); later calls return at once. Serialised with a
# lock because ctest starts several test programs at the same time.
kvb_wine_prefix_init() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.kvb-ready" ]; then
      rm -rf "$WINEPREFIX"
      wineboot -i </dev/null >/dev/null 2>&1
      # Without a window manager every window teardown costs 2 s unless Wine manages
      # its own windows.
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
      wineserver -w
      touch "$WINEPREFIX/.kvb-ready"
    fi
  ) 9>"$(dirname "$WINEPREFIX")/.prefix.lock"
}

# Starts a persistent wineserver with its output away from the caller's pipes; the
# services it spawns would otherwise keep ctest's output pipe open and hang it.
kvb_wine_server_start() {
  wineserver -p </dev/null >/dev/null 2>&1 || true
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

kvb_wine_server_stop() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
}

# Starts Xvfb on a free display unless DISPLAY already works; sets KVB_XVFB_PID.
kvb_xvfb_start() {
  KVB_XVFB_PID=""
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
      KVB_XVFB_PID=$!
      export DISPLAY=":$n"
      local i
      for i in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.05
      done
      kill "$KVB_XVFB_PID" 2>/dev/null || true
      KVB_XVFB_PID=""
    fi
  done
  echo "wine-env: could not start Xvfb" >&2
  return 1
}

kvb_xvfb_stop() {
  if [ -n "${KVB_XVFB_PID:-}" ]; then
    kill "$KVB_XVFB_PID" 2>/dev/null || true
    wait "$KVB_XVFB_PID" 2>/dev/null || true
  fi
}
