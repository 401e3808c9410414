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

# install SETUP.exe ARGS...: e2e_install, which must succeed.
install() {
  e2e_install "$@"
  [ "$E2E_STATUS" -eq 0 ] || e2e_fail "installation $E2E_INSTALLS failed"
}

# The two parameters of the product's uninstall command, one a line.
uninstall_command() {
  e2e_reg_value "$entry_root\\Acme $1" UninstallString |
    sed -E 's/^"([^"]*)" "([^"]*)"(.*)$/\1\n\2/'
}

# uninstall PRODUCT [/S] DRIVER-STEPS...: starts the product's uninstall command as
# Windows does (with /S behind it when given) and drives its windows (process=any: the
# windows belong to the uninstaller's copy).
uninstall() {
  local program log product=$1 silent=""
  shift
  [ "${1:-}" = /S ] && { silent=" /S"; shift; }
  { read -r program; read -r log; } < <(uninstall_command "$product")
  [ -n "$log" ] || e2e_fail "no uninstall command for $product"
  e2e_drive "start \"$program\" \"$log\"$silent" "$@"
  wait_copy_gone
}

# Waits until the uninstaller's copy has ended: the system deletes it then. The
# original ends as soon as the copy has reported, and the copy a moment later.
wait_copy_gone() {
  local i
  for ((i = 0; i < 200; i++)); do
    compgen -G "$WINEPREFIX/drive_c/windows/kvbuninst-*.exe" >/dev/null || return 0
    sleep 0.05
  done
  e2e_fail "the uninstaller's copy stayed"
}

# snapshot NAME [light]: every file of drive C with its size, and the registry of the
# machine and the user (light: only the keys of Acme's products and the installed-programs
# entries, for the checks that a refused removal changed nothing).
snapshot() {
  local out=$E2E_DIR/$1 hive key
  (cd "$WINEPREFIX/drive_c" && find . -printf '%y %s %p\n' | sed 's/^d [0-9]* /d - /' | sort) \
    >"$out.files"
  if [ "${2:-}" = light ]; then
    for key in 'HKLM\Software\Acme' 'HKCU\Software\Acme' "$entry_root"; do
      wine reg query "$key" /s </dev/null 2>/dev/null | tr -d '\r'
    done >"$out.HKLM"
    : >"$out.HKCU"
    return
  fi
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
[ -f "$uninstaller" ] && e2e_fail "kvbuninst.exe stayed although no product needs it"

echo "== a library and the uninstaller shared by two products; silent removal"
install "$sample" --components 'Docs'
install "$other" --components 'Tools'
shared_key='HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs'
shared='C:\Program Files\Common Files\Acme\shared.dll'
e2e_expect_reg "$shared_key" "$shared" 0x2
uninstall Sample /S "wait-exit code=0 timeout=30000"
e2e_expect_status 0 "silent removal"
e2e_expect_reg "$shared_key" "$shared" 0x1
[ -f "$(e2e_unixpath "$shared")" ] || e2e_fail "the library another product counts was removed"
[ -f "$uninstaller" ] || e2e_fail "kvbuninst.exe went although Other needs it"
[ -d "$(e2e_unixpath 'C:\Program Files\Sample')" ] && e2e_fail "Sample's folder stayed"

echo "== a file the user kept: its folder stays and the final message names it"
printf 'notes\r\n' >"$(e2e_unixpath 'C:\Program Files\Other')/notes.txt"
uninstall Other \
  "wait-window class=#32770 process=any" "click Yes" "wait-gone" \
  "wait-window class=TfrmMsgBoxFiles process=any" "click \"Yes To All\"" "wait-gone" \
  "wait-window class=TfrmMsgBoxFiles process=any" "click \"Yes To All\"" "wait-gone" \
  "wait-window class=#32770 process=any title=\"Other Uninstaller\"" "expect-icon exclamation" \
  "expect-text \"Uninstall can not delete all Other items.\" match=part id=0xFFFF" \
  "expect-text \"C:\\\\Program Files\\\\Other\\\\\" match=part id=0xFFFF" \
  "click OK" "wait-exit code=7"
e2e_expect_status 0 "removal with a kept file"
[ -f "$(e2e_unixpath 'C:\Program Files\Other')/notes.txt" ] || e2e_fail "the user's file went"
[ -f "$(e2e_unixpath "$shared")" ] && e2e_fail "the library stayed after its last product"
e2e_reg_value "$shared_key" "$shared" >/dev/null && e2e_fail "the library's count stayed"
e2e_reg_key_exists "$entry_root\\Acme Other" && e2e_fail "Other's entry stayed"
[ -f "$uninstaller" ] && e2e_fail "kvbuninst.exe stayed after the last product"
rm -rf "$(e2e_unixpath 'C:\Program Files\Other')"

echo "== a damaged and a foreign log change nothing"
install "$sample" --components 'Docs'
sample_log=$(e2e_unixpath 'C:\Program Files\Sample\uninst.dat')
cp "$sample_log" "$E2E_DIR/uninst.good"
head -c 300 "$E2E_DIR/uninst.good" >"$sample_log"
snapshot damaged light
uninstall Sample "wait-window class=#32770 process=any title=\"Kalvenbrooker Uninstaller\"" \
  "expect-text \"The uninstall log \\\"C:\\\\Program Files\\\\Sample\\\\uninst.dat\\\" is damaged.\" id=0xFFFF" \
  "expect-icon stop" "click OK" "wait-exit code=3"
e2e_expect_status 0 "damaged log"
snapshot after-damaged light
expect_same damaged after-damaged
cp -p "$E2E_DIR/uninst.good" "$sample_log"
cp "$E2E_DIR/uninst.good" "$E2E_DIR/copied.dat"
snapshot foreign light
e2e_drive "start \"C:\\windows\\kvbuninst.exe\" \"$(e2e_winpath "$E2E_DIR/copied.dat")\" /S" \
  "wait-exit code=4"
e2e_expect_status 0 "foreign log"
wait_copy_gone
snapshot after-foreign light
expect_same foreign after-foreign

echo "== a second uninstaller is refused while one runs"
{ read -r program; read -r log; } < <(uninstall_command Sample)
e2e_drive "start \"$program\" \"$log\"" "wait-window class=#32770 process=any" \
  "expect-text \"Do you want to uninstall Sample from Desktop?\" id=0xFFFF" \
  "start \"$program\" \"$log\"" "wait-window class=#32770 process=target" \
  "expect-text \"Another uninstaller is running. Start this one again when it has finished.\" id=0xFFFF" \
  "click OK" "wait-exit code=6" \
  "wait-window class=#32770 process=any title=\"Sample Uninstaller\"" "click No" "wait-gone"
e2e_expect_status 0 "second uninstaller"
wait_copy_gone
e2e_expect_uninstall_entry "Acme Sample" "Sample"

echo "== a maintenance run deselects a component and adds another"
install "$sample" --maintenance --components 'Tools'
grep -qx 'maintenance yes, installed Docs' "$E2E_OUT" || e2e_fail "no maintenance run"
grep -qx 'status: Uninstalling Sample Components...' "$E2E_OUT" || e2e_fail "no removal status"
sample_dir=$(e2e_unixpath 'C:\Program Files\Sample')
[ -e "$sample_dir/Docs" ] && e2e_fail "the deselected component's folder stayed"
[ -f "$sample_dir/Tools/tool.txt" ] || e2e_fail "the added component is not installed"
[ -f "$sample_dir/app.txt" ] || e2e_fail "the common file went"
e2e_reg_value 'HKCU\Software\Acme\Sample' Docs >/dev/null && e2e_fail "Docs' value stayed"
e2e_dump_log 'C:\Program Files\Sample\uninst.dat' \
  >"$E2E_DIR/log-maintenance.txt"
grep -qx 'components Tools' "$E2E_DIR/log-maintenance.txt" || e2e_fail "the log's components"
grep -q 'guide.txt' "$E2E_DIR/log-maintenance.txt" && e2e_fail "the log still lists Docs' file"
grep -qx 'item 0 C:\\Program Files\\Sample\\Tools\\tool.txt' "$E2E_DIR/log-maintenance.txt" ||
  e2e_fail "the log lacks the added file"

echo "== a setup removes another product installed before (the script command)"
install "$other" --components 'Docs' --remove-product 'Sample|Acme'
grep -qx 'remove-product result 2' "$E2E_OUT" || e2e_fail "the removal's result"
[ -e "$sample_dir" ] && e2e_fail "Sample's folder stayed"
e2e_reg_key_exists "$entry_root\\Acme Sample" && e2e_fail "Sample's entry stayed"
e2e_expect_uninstall_entry "Acme Other" "Other"

echo "== the last product goes: the prefix is as before the first installation"
uninstall Other /S "wait-exit code=0 timeout=30000"
e2e_expect_status 0 "silent removal of the last product"
snapshot last
expect_same before last
