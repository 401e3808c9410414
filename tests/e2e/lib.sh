# Helpers of the end-to-end tests, sourced by every tests/e2e/*_test.sh.
#
# A test runs Windows programs (a setup, the driver) in its own fresh copy of the
# template Wine prefix and checks what they left from outside: files in the prefix,
# registry values, shortcuts, the installed-programs list. ctest passes the paths:
#   KVB_ROOT             source tree
#   KVB_WIN_BUILD_DIR    the Windows build (kvbsetup.exe, kvbdriver.exe, test programs)
#   KVB_HOST_BUILD_DIR   the Linux build (kvbpack and other host tools)
#   KVB_SETUP_EXE, KVB_DRIVER_EXE, KVB_E2E_WORK (where each test keeps its files)
# Set KVB_E2E_KEEP=1 to keep a passing test's prefix.
#
# Typical test:
#   . "$KVB_ROOT/tests/e2e/lib.sh"
#   e2e_begin my_case
#   e2e_drive "start $(e2e_winpath "$E2E_DIR/setup.exe")" "wait-window class=#32770" dump
#   e2e_expect_status 0
#   e2e_expect_output 'text="Kalvenbrooker Setup"'
#   e2e_expect_reg 'HKLM\Software\Sample' Version 1.0
set -u -o pipefail
: "${KVB_ROOT:?}" "${KVB_WIN_BUILD_DIR:?}"
. "$KVB_ROOT/scripts/wine-env.sh"

E2E_NAME=""
E2E_DIR=""     # the test's own folder: prefix/, driver outputs, screenshots
E2E_OUT=""     # standard output of the last driver run
E2E_STATUS=0   # exit status of the last driver run
E2E_RUNS=0
E2E_CLEANUP=()  # commands e2e_end runs first (e2e_on_end)

# Starts a test: fresh prefix copy, its own Xvfb display, a wineserver for the copy.
e2e_begin() {
  E2E_NAME=$1
  E2E_DIR=${KVB_E2E_WORK:-$KVB_WIN_BUILD_DIR/e2e-work}/$E2E_NAME
  rm -rf "$E2E_DIR"
  mkdir -p "$E2E_DIR"
  kvb_wine_prefix_init
  kvb_wine_prefix_copy "$E2E_DIR/prefix"
  export WINEPREFIX=$E2E_DIR/prefix
  trap e2e_end EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  kvb_xvfb_start new || e2e_fail "no X display"
  kvb_wine_server_start
}

# Runs at exit: a screenshot when the test failed, then everything the test started is
# stopped; a passing test's prefix is removed.
e2e_end() {
  local status=$? cleanup
  trap - EXIT
  if [ "$status" -ne 0 ] && [ "$status" -ne 77 ]; then
    e2e_screenshot failure >/dev/null 2>&1 || true
  fi
  for cleanup in "${E2E_CLEANUP[@]}"; do
    eval "$cleanup" || true
  done
  kvb_wine_server_stop
  kvb_xvfb_stop
  kvb_wine_copy_check "$E2E_DIR/prefix" || status=1
  if [ "$status" -eq 0 ]; then
    [ -n "${KVB_E2E_KEEP:-}" ] || rm -rf "$E2E_DIR/prefix"
    echo "PASS: $E2E_NAME"
  elif [ "$status" -ne 77 ]; then
    echo "FAIL: $E2E_NAME (files in $E2E_DIR)"
  fi
  exit "$status"
}

# Registers a command for e2e_end (servers the test started, say).
e2e_on_end() {
  E2E_CLEANUP+=("$1")
}

e2e_fail() {
  echo "FAIL: $E2E_NAME: $*" >&2
  exit 1
}

# Ends the test as skipped (ctest's SKIP_RETURN_CODE).
e2e_skip() {
  echo "SKIP: $E2E_NAME: $*"
  exit 77
}

# Windows path of a Linux path (through drive Z:).
e2e_winpath() {
  kvb_winpath "$1"
}

# Linux path of a Windows path in the test's prefix (C:\... or Z:\...). Each part is
# matched without regard to case, as Windows does; parts that do not exist are kept.
e2e_unixpath() {
  local win=${1//\\//} path part found
  case "$win" in
    [cC]:*) path=$WINEPREFIX/drive_c ;;
    [zZ]:*) path="" ;;
    *) echo "e2e_unixpath: not a drive path: $1" >&2; return 1 ;;
  esac
  win=${win:2}
  local IFS=/
  for part in $win; do
    [ -n "$part" ] || continue
    found=$(find "${path:-/}" -mindepth 1 -maxdepth 1 -iname "$part" -print -quit 2>/dev/null)
    if [ -n "$found" ]; then path=$found; else path=$path/$part; fi
  done
  echo "${path:-/}"
}

# Runs the driver with the given arguments (steps, -f FILE, -t MS). Its output goes to
# $E2E_DIR/driver-N.out (also $E2E_OUT) and into the test log; the status to $E2E_STATUS.
e2e_drive() {
  E2E_RUNS=$((E2E_RUNS + 1))
  E2E_OUT=$E2E_DIR/driver-$E2E_RUNS.out
  local start=$EPOCHREALTIME
  wine "${KVB_DRIVER_EXE:?}" "$@" </dev/null >"$E2E_OUT" 2>"$E2E_DIR/driver-$E2E_RUNS.err"
  E2E_STATUS=$?
  local ms=$(( (${EPOCHREALTIME/./} - ${start/./}) / 1000 ))
  tr -d '\r' <"$E2E_OUT" >"$E2E_OUT.tmp" && mv "$E2E_OUT.tmp" "$E2E_OUT"
  echo "-- driver run $E2E_RUNS: status $E2E_STATUS after $ms ms"
  sed 's/^/   | /' "$E2E_OUT" "$E2E_DIR/driver-$E2E_RUNS.err"
}

e2e_expect_status() {
  [ "$E2E_STATUS" -eq "$1" ] || e2e_fail "driver status $E2E_STATUS, expected $1${2:+ ($2)}"
}

# The last driver output holds (or does not hold) this exact text.
e2e_expect_output() {
  grep -qF -- "$1" "$E2E_OUT" || e2e_fail "driver output lacks: $1"
}
e2e_expect_no_output() {
  ! grep -qF -- "$1" "$E2E_OUT" || e2e_fail "driver output has: $1"
}

# Saves a PNG of the display as $E2E_DIR/NAME.png and prints its path.
e2e_screenshot() {
  "$KVB_ROOT/scripts/screenshot.sh" "$E2E_DIR/$1.png" && echo "$E2E_DIR/$1.png"
}

# --- registry (through `wine reg`, which asks the test's wineserver) ---

# Prints the data of a value (NAME "" is the default value); status 1 when the key or
# the value is missing. Binary data prints as hex, multi-strings with \0 between items.
e2e_reg_value() {
  local out
  if [ -z "$2" ]; then
    out=$(wine reg query "$1" /ve </dev/null 2>/dev/null) || return 1
  else
    out=$(wine reg query "$1" /v "$2" </dev/null 2>/dev/null) || return 1
  fi
  printf '%s\n' "$out" | tr -d '\r' |
    sed -nE 's/^    .*    (REG_[A-Z_]+)( {4}(.*))?$/\3/p' | head -1
}

# Prints the type of a value (REG_SZ, REG_DWORD ...); status 1 when missing.
e2e_reg_type() {
  local flag=(/v "$2")
  [ -n "$2" ] || flag=(/ve)
  wine reg query "$1" "${flag[@]}" </dev/null 2>/dev/null | tr -d '\r' |
    sed -nE 's/^    .*    (REG_[A-Z_]+)( {4}.*)?$/\1/p' | head -1 | grep . 
}

e2e_reg_key_exists() {
  wine reg query "$1" </dev/null >/dev/null 2>&1
}

# e2e_expect_reg KEY NAME DATA [TYPE]
e2e_expect_reg() {
  local data type
  data=$(e2e_reg_value "$1" "$2") || e2e_fail "no registry value $1 [$2]"
  [ "$data" = "$3" ] || e2e_fail "registry $1 [$2] = '$data', expected '$3'"
  if [ $# -ge 4 ]; then
    type=$(e2e_reg_type "$1" "$2")
    [ "$type" = "$4" ] || e2e_fail "registry $1 [$2] is $type, expected $4"
  fi
}

e2e_expect_no_reg_key() {
  ! e2e_reg_key_exists "$1" || e2e_fail "registry key $1 exists"
}

# --- shortcuts ---

# Prints one field of `lnkinfo` for a .lnk file (Linux path), for example
# "Local path", "Command line arguments", "Working directory", "Description",
# "Icon location". Status 1 when the field is absent.
e2e_lnk_field() {
  lnkinfo "$1" 2>/dev/null | sed -nE "s/^[[:space:]]*$2[[:space:]]*: (.*)$/\1/p" | head -1 | grep ''
}

# The show-window value stored in a .lnk header (offset 0x3C), read from the bytes:
# lnkinfo does not show it.
e2e_lnk_show_cmd() {
  od -An -tu4 -j60 -N4 "$1" | tr -d ' '
}

# --- installed programs, temporary folders, host tools ---

# Lines "KeyName|||DisplayName" of the programs Wine lists as installed.
e2e_uninstall_entries() {
  wine uninstaller --list </dev/null 2>/dev/null | tr -d '\r'
}

e2e_expect_uninstall_entry() {
  e2e_uninstall_entries | grep -qxF -- "$1|||$2" || e2e_fail "no installed-programs entry $1|||$2"
}

# Folders whose name starts with "kvb" in the prefix's temporary folders (the user's
# and the Windows one), one a line.
e2e_temp_folders() {
  local dir
  for dir in "$WINEPREFIX"/drive_c/users/*/Temp "$WINEPREFIX/drive_c/windows/temp"; do
    [ -d "$dir" ] && find "$dir" -mindepth 1 -maxdepth 1 -type d -iname 'kvb*'
  done
  return 0
}

# Prints the path of a program of the host build (kvbpack ...); status 1 when it is not
# built.
e2e_host_tool() {
  local dir=${KVB_HOST_BUILD_DIR:-}
  [ -n "$dir" ] && [ -d "$dir" ] || return 1
  local tool
  tool=$(find "$dir" -type f -name "$1" -perm -u+x -not -path '*/CMakeFiles/*' -print -quit)
  [ -n "$tool" ] && echo "$tool"
}

# e2e_pack DIR NAME: builds DIR/project.toml with kvbpack into DIR/NAME.exe and prints its
# path; a build failure fails the test.
e2e_pack() {
  local kvbpack
  kvbpack=$(e2e_host_tool kvbpack) || e2e_fail "kvbpack is not built (KVB_HOST_BUILD_DIR)"
  "$kvbpack" build "$1/project.toml" -o "$1/$2.exe" --stub "${KVB_SETUP_EXE:?}" \
    --uninstaller "${KVB_UNINST_EXE:?}" >/dev/null ||
    e2e_fail "kvbpack failed for $2"
  echo "$1/$2.exe"
}

# --- the installation engine without the wizard (install_run) ---

# e2e_install SETUP.exe ARGS...: runs install_run (its options: see install_run_win.cpp);
# the output goes to $E2E_DIR/install-N.out (also $E2E_OUT) and into the test log, the
# status to $E2E_STATUS.
E2E_INSTALLS=0
e2e_install() {
  E2E_INSTALLS=$((E2E_INSTALLS + 1))
  E2E_OUT=$E2E_DIR/install-$E2E_INSTALLS.out
  wine "${KVB_INSTALL_RUN_EXE:?}" "$(e2e_winpath "$1")" "${@:2}" </dev/null 2>/dev/null |
    tr -d '\r' >"$E2E_OUT"
  E2E_STATUS=${PIPESTATUS[0]}
  echo "-- install $E2E_INSTALLS ($*): status $E2E_STATUS"
  sed 's/^/   | /' "$E2E_OUT"
}

# e2e_dump_log WINPATH: an uninstall log's product and items, one a line.
e2e_dump_log() {
  wine "${KVB_INSTALL_RUN_EXE:?}" --dump-log "$1" </dev/null 2>/dev/null | tr -d '\r'
}

# --- handheld stand-ins ---

# ActiveSync as the setup finds it: the stand-in rapi.dll in the system folder and the
# stand-in Application Manager in the ActiveSync folder, registered under "App Paths".
# The Application Manager records what it receives in "ceappmgr.log" beside itself.
E2E_ACTIVESYNC_DIR='C:\Program Files\Microsoft ActiveSync'
e2e_activesync_standins() {
  local standins=$KVB_WIN_BUILD_DIR/tools/standins folder
  folder=$(e2e_unixpath "$E2E_ACTIVESYNC_DIR")
  cp "$standins/rapi.dll" "$WINEPREFIX/drive_c/windows/system32/rapi.dll"
  mkdir -p "$folder"
  cp "$standins/CEAPPMGR.exe" "$folder/CEAPPMGR.EXE"
  wine reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\CEAPPMGR.EXE' /ve /d \
    "$E2E_ACTIVESYNC_DIR\\CEAPPMGR.EXE" /f </dev/null >/dev/null 2>&1
}

# A HotSync installation with its data in C:\Palm and two users: "Anne" (user number 1,
# folder AnneF) and "Bob" (number 2, folder Bob), Bob the user of the last HotSync. The
# users file holds the parts the setup reads; Bob's record follows the 0x01 0x80 marker.
E2E_HOTSYNC_KEY='HKCU\Software\Palm Computing\Pilot Desktop'
e2e_hotsync_standin() {
  local users=$WINEPREFIX/drive_c/Palm/users.dat
  mkdir -p "$WINEPREFIX/drive_c/Palm"
  printf '\002\356\356\356\356\356\356\356\356\356\356\356\356' >"$users"
  printf '\001\000\000\000\004Anne\005AnneF\005\000\001\200' >>"$users"
  printf '\002\000\000\000\003Bob\003Bob\005' >>"$users"
  wine reg add "$E2E_HOTSYNC_KEY\\Core" /v Path /d 'C:\Palm' /f </dev/null >/dev/null 2>&1
  wine reg add "$E2E_HOTSYNC_KEY\\Preferences" /v LastUserName /d Bob /f </dev/null >/dev/null 2>&1
  wine reg add "$E2E_HOTSYNC_KEY\\HotSync Manager" /f </dev/null >/dev/null 2>&1
}
