#!/usr/bin/env bash
# Removal end to end: packages built by kvbpack with the real kvbuninst.exe, installed by
# install_run (the engine without the wizard), removed through the installed-programs
# entry's command as Windows starts it, and compared with full snapshots of the prefix
# (every file with its size, `wine reg export` of HKLM and HKCU) taken before the
# installation. Also: the final message naming what stayed, a library shared by two
# products, the uninstaller kept while another product needs it, a damaged and a foreign
# log, a second uninstaller refused, the silent mode, a maintenance run that deselects a
# component and adds another, and the script command's removal of another product.
. "$KVB_ROOT/tests/e2e/lib.sh"
e2e_begin removal

run="${KVB_INSTALL_RUN_EXE:?}"
entry_root='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
uninstaller="$WINEPREFIX/drive_c/windows/kvbuninst.exe"

# project NAME [EXTRA-TOML]: a package of product NAME by Acme with two components.
project() {
  local dir=$E2E_DIR/${1// /-}
  mkdir -p "$dir"
  for f in app guide tool extra; do printf '%s of %s\r\n' "$f" "$1" >"$dir/$f.txt"; done
  cp "${KVB_REGISTER_DLL:?}" "$dir/selfreg.dll"
  cp "${KVB_REGISTER_DLL:?}" "$dir/shared.dll"
  cat >"$dir/project.toml" <<TOML
[software]
name = "$1"
company = "Acme"
install-dir = '%ProgramFilesDir%\\$1'
program-group = "$1"
display-name = "$1"
display-version = "1.0"
[uninstall]
enabled = true
[[component]]
name = "Docs"
[[component]]
name = "Tools"
[[component]]
name = "Extra"
[[file]]
source = "app.txt"
[[file]]
source = "guide.txt"
dest-dir = '%InstallDir%\\Docs\\'
components = "Docs"
[[file]]
source = "tool.txt"
dest-dir = '%InstallDir%\\Tools\\'
components = "Tools"
[[file]]
source = "extra.txt"
components = "Extra"
[[file]]
source = "selfreg.dll"
self-register = true
[[file]]
source = "shared.dll"
dest-dir = '%CommonFilesDir%\\Acme\\'
shared = true
[[shortcut]]
name = "App"
target = "app.txt"
[[shortcut]]
name = "Uninstall $1"
target = "UNINSTALLER"
[[registry]]
key = 'Software\\Acme\\$1\\Settings'
value-name = "Dir"
data = "%InstallDir%"
[[registry]]
root = "HKCU"
key = 'Software\\Acme\\$1'
value-name = "Docs"
data = "yes"
components = "Docs"
${2:-}
TOML
  e2e_pack "$dir" Setup >/dev/null
  echo "$dir/Setup.exe"
}

# install SETUP.exe ARGS...: install_run's output in $E2E_DIR/install-N.out.
INSTALLS=0
install() {
  INSTALLS=$((INSTALLS + 1))
  E2E_OUT=$E2E_DIR/install-$INSTALLS.out
  wine "$run" "$(e2e_winpath "$1")" "${@:2}" </dev/null 2>/dev/null | tr -d '\r' >"$E2E_OUT"
  E2E_STATUS=${PIPESTATUS[0]}
  echo "-- install $INSTALLS ($*): status $E2E_STATUS"
  sed 's/^/   | /' "$E2E_OUT"
  [ "$E2E_STATUS" -eq 0 ] || e2e_fail "installation $INSTALLS failed"
}

# The two parameters of the product's uninstall command, one a line.
uninstall_command() {
  e2e_reg_value "$entry_root\\Acme $1" UninstallString |
    sed -E 's/^"([^"]*)" "([^"]*)"(.*)$/\1\n\2/'
}

# uninstall PRODUCT DRIVER-STEPS...: starts the product's uninstall command as Windows
# does and drives its windows (process=any: the windows belong to the uninstaller's copy).
uninstall() {
  local program log
  { read -r program; read -r log; } < <(uninstall_command "$1")
  [ -n "$log" ] || e2e_fail "no uninstall command for $1"
  e2e_drive "start \"$program\" \"$log\"" "${@:2}"
}

# Every file of drive C with its size, and the registry of the machine and the user.
snapshot() {
  local out=$E2E_DIR/$1 hive
  (cd "$WINEPREFIX/drive_c" && find . -printf '%y %s %p\n' | sed 's/^d [0-9]* /d - /' | sort) \
    >"$out.files"
  for hive in HKLM HKCU; do
    rm -f "$out.$hive.reg"
    wine reg export "$hive" "$(e2e_winpath "$out.$hive.reg")" /y </dev/null >/dev/null 2>&1
    iconv -f UTF-16LE -t UTF-8 "$out.$hive.reg" | tr -d '\r' | volatile_keys_out >"$out.$hive"
  done
}

# Keys that Wine itself rewrites whenever it starts: its own state, the hardware and the
# device classes it detects, the time zone, the count of service starts; and the
# timestamps of keys.
volatile_keys_out() {
  awk '/^\[/ { skip = ($0 ~ /\\Software\\Wine(\\|\])/ || $0 ~ /^\[HKEY_LOCAL_MACHINE\\Hardware/ ||
                       $0 ~ /CurrentControlSet\\(Enum|Hardware Profiles|Control\\(Class|DeviceClasses|Video|TimeZoneInformation|ServiceCurrent))/) }
       /^#time=/ || /^$/ { next }
       !skip'
}

# The documented leftovers of a removal: the shared-library counts' key, which the
# installation creates when the prefix has none and the removal leaves (it is the
# system's, and Windows always has it); and the parent key that the tests'
# self-registering library creates when it registers and leaves when it unregisters.
LEFTOVERS='^> \[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs\]$'
LEFTOVERS+='|^> \[HKEY_CURRENT_USER\\Software\\KvbTests\]$'

# expect_same BEFORE AFTER: the snapshots are equal, but for the documented leftovers.
expect_same() {
  local part
  for part in files HKLM HKCU; do
    diff "$E2E_DIR/$1.$part" "$E2E_DIR/$2.$part" | grep '^[<>]' | grep -Ev "$LEFTOVERS" \
      >"$E2E_DIR/diff-$2.$part"
    [ -s "$E2E_DIR/diff-$2.$part" ] &&
      e2e_fail "$part differ between $1 and $2: $(head -30 "$E2E_DIR/diff-$2.$part")"
  done
  return 0
}

sample=$(project "Sample")
other=$(project "Other")

echo "== install, then remove through the entry's command: the prefix is as before"
snapshot before
install "$sample" --components 'Docs|Tools'
[ -f "$uninstaller" ] || e2e_fail "kvbuninst.exe is not in the Windows folder"
e2e_expect_uninstall_entry "Acme Sample" "Sample"
uninstall Sample \
  "wait-window class=#32770 process=any" \
  "expect-text \"Do you want to uninstall Sample from Desktop?\" id=0xFFFF" "click Yes" \
  "wait-gone" "wait-window class=TfrmMsgBoxFiles process=any" \
  "expect-text \"C:\\\\Program Files\\\\Sample\\\\selfreg.dll is a ActiveX file. Do you want to delete this file?\"" \
  "click Yes" "wait-gone" "wait-window class=TfrmMsgBoxFiles process=any" \
  "expect-text \"C:\\\\Program Files\\\\Common Files\\\\Acme\\\\shared.dll is a shared file. Do you want to delete this file?\"" \
  "click Yes" "wait-gone" "wait-window class=#32770 process=any title=\"Sample Uninstaller\"" \
  "expect-text \"Uninstall completed with success.\" id=0xFFFF" "expect-icon information" \
  "click OK" "wait-exit code=0"
e2e_expect_status 0 "interactive removal"
snapshot removed
expect_same before removed
