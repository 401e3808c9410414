# Wine environment of the project: sourced by the scripts, never run on its own.
# Every wine call of the project uses its own 32-bit prefix inside the build folder,
# so ~/.wine is never touched.

KVB_ROOT=${KVB_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${KVB_WINEPREFIX:-$KVB_ROOT/build/wine/prefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# winedbg is disabled so that a crashing test program ends at once instead of waiting
# in Wine's crash debugger.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe,winedbg.exe=d"

# The template prefix: created once with wineboot (about 10 s) and never run again, so
# copies of it (cp -a, a fraction of a second) are always consistent. The end-to-end
# tests give every test such a copy; the shared prefix above is one too.
export KVB_WINE_TEMPLATE=${KVB_WINE_TEMPLATE:-$KVB_ROOT/build/wine/template}

kvb_wine_template_create() {
  rm -rf "$KVB_WINE_TEMPLATE"
  (
    export WINEPREFIX=$KVB_WINE_TEMPLATE
    wineboot -i </dev/null >/dev/null 2>&1
    # Without a window manager every window teardown costs 2 s unless Wine manages
    # its own windows.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    wineserver -w
  )
  # Copies share the big files under windows\ (Wine's own DLLs and tables, about 580 MB)
  # as hard links and get their own copy of everything else.
  (
    cd "$KVB_WINE_TEMPLATE"
    find . -mindepth 1 \( -type d -o -type l -o -type f ! -path './drive_c/windows/*' \
      -o -type f -path './drive_c/windows/*' -size -64k \) -print0 >"$KVB_WINE_TEMPLATE.own"
    find ./drive_c/windows -type f -size +63k -print0 >"$KVB_WINE_TEMPLATE.shared"
  )
  touch "$KVB_WINE_TEMPLATE/.kvb-ready"
}

# Makes DEST a fresh copy of the template in about 0.2 s. Wine's files under windows\
# are hard links into the template: a program that writes over one of them in place
# would change every copy, which kvb_wine_copy_check detects.
kvb_wine_prefix_copy() {
  local dest=$1
  rm -rf "$dest"
  mkdir -p "$dest"
  (
    flock -s 9  # the template is not rebuilt meanwhile
    tar -C "$KVB_WINE_TEMPLATE" --no-recursion --null -T "$KVB_WINE_TEMPLATE.own" -cf - |
      tar -C "$dest" -xf -
    cd "$KVB_WINE_TEMPLATE" && xargs -0 cp -l --parents -t "$dest" <"$KVB_WINE_TEMPLATE.shared"
  ) 9>"$(dirname "$KVB_WINE_TEMPLATE")/.prefix.lock"
}

# Fails (and retires the template, so the next run builds it anew) when a shared file of
# the copy DEST was written to.
kvb_wine_copy_check() {
  local dest=$1 changed
  changed=$(find "$dest/drive_c/windows" -type f -links +1 -newer "$KVB_WINE_TEMPLATE/.kvb-ready" | head -3)
  [ -z "$changed" ] && return 0
  echo "wine-env: a program wrote over template files: $changed" >&2
  rm -f "$KVB_WINE_TEMPLATE/.kvb-ready"
  return 1
}

# Makes sure the template and the shared prefix exist; later calls return at once.
# Serialised with a lock because ctest starts several test programs at the same time.
kvb_wine_prefix_init() {
  mkdir -p "$(dirname "$WINEPREFIX")" "$(dirname "$KVB_WINE_TEMPLATE")"
  (
    flock 9
    [ -f "$KVB_WINE_TEMPLATE/.kvb-ready" ] || kvb_wine_template_create
    if [ ! -f "$WINEPREFIX/.kvb-ready" ]; then
      rm -rf "$WINEPREFIX"
      cp -a "$KVB_WINE_TEMPLATE" "$WINEPREFIX"
    fi
  ) 9>"$(dirname "$KVB_WINE_TEMPLATE")/.prefix.lock"
}

# Windows path of a Linux path, through drive Z: (no wine start needed).
kvb_winpath() {
  local path
  path=$(realpath -m "$1")
  echo "Z:${path//\//\\}"
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

# Starts Xvfb on a free display (Xvfb picks it) unless DISPLAY already works; with the
# argument "new" always starts one, so parallel tests do not cover each other's
# windows. Sets DISPLAY and KVB_XVFB_PID.
kvb_xvfb_start() {
  KVB_XVFB_PID=""
  if [ "${1:-}" != new ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local number_file i
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" </dev/null >/dev/null 2>&1 &
  KVB_XVFB_PID=$!
  for i in $(seq 1 200); do
    if [ -s "$number_file" ]; then
      export DISPLAY=":$(head -1 "$number_file")"
      rm -f "$number_file"
      return 0
    fi
    kill -0 "$KVB_XVFB_PID" 2>/dev/null || break
    sleep 0.05
  done
  rm -f "$number_file"
  kill "$KVB_XVFB_PID" 2>/dev/null || true
  KVB_XVFB_PID=""
  echo "wine-env: could not start Xvfb" >&2
  return 1
}

kvb_xvfb_stop() {
  if [ -n "${KVB_XVFB_PID:-}" ]; then
    kill "$KVB_XVFB_PID" 2>/dev/null || true
    wait "$KVB_XVFB_PID" 2>/dev/null || true
  fi
}
