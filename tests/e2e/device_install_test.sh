#!/usr/bin/env bash
# The device steps of an installation end to end: the device example (examples/devices)
# built by kvbpack and installed by install_run with the stand-in ActiveSync and a HotSync
# installation of two users. The stand-in Application Manager receives both description
# files, quoted, and is waited for; both chosen users get the Palm file and their install
# flag; the conduit replaces an older registration of its creator. Then the product's
# uninstall command takes the conduit away again and leaves the other product's. A
# device-only package removes its staged files after the Application Manager has run.
. "$KVB_ROOT/tests/e2e/lib.sh"
e2e_begin device_install

drive_c=$WINEPREFIX/drive_c
install_dir='C:\Program Files\Sea Soft\Tides'
appmgr_log=$(e2e_unixpath "$E2E_ACTIVESYNC_DIR")/ceappmgr.log
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Sea Soft Tides'

# install SETUP.exe ARGS...: e2e_install, which must succeed.
install() {
  e2e_install "$@"
  [ "$E2E_STATUS" -eq 0 ] || e2e_fail "installation of $1 failed"
}

# expect_file WINPATH CONTENT-FILE: the file in the prefix has the same bytes.
expect_file() {
  local path
  path=$(e2e_unixpath "$1")
  cmp -s "$path" "$2" || e2e_fail "$1 is missing or differs from $2"
}

# The description file's text as the stand-in recorded it: the lines after "FILE PATH"
# up to "END".
recorded_file() {
  awk -v want="FILE $1" '$0 == want { on = 1; next } on && $0 == "END" { exit } on' \
    "$appmgr_log"
}

e2e_activesync_standins
e2e_hotsync_standin
# Registrations that were there before: an older one of the example's creator "KvbT"
# in Application0 and another product's conduit in Application1.
wine reg add "$E2E_HOTSYNC_KEY\\Application0" /v Creator /t REG_DWORD /d 0x4B766254 /f \
  </dev/null >/dev/null 2>&1
wine reg add "$E2E_HOTSYNC_KEY\\Application0" /v Conduit /d 'C:\Old\tidecond.dll' /f \
  </dev/null >/dev/null 2>&1
wine reg add "$E2E_HOTSYNC_KEY\\Application1" /v Creator /t REG_DWORD /d 0x4F746872 /f \
  </dev/null >/dev/null 2>&1

package=$E2E_DIR/tides
cp -r "$KVB_ROOT/examples/devices" "$package"
cp "$package/devices.toml" "$package/project.toml"
setup=$(e2e_pack "$package" Setup)

echo "== the example installed for Anne and Bob"
install "$setup" --hotsync-user "Anne, Bob"
grep -q '^installed$' "$E2E_OUT" || e2e_fail "the installation did not end"
grep -qxF 'status: Starting device install...' "$E2E_OUT" ||
  e2e_fail "the device install status was not reported"
first="$install_dir\\CE\\Tides.ini"
second="$install_dir\\CE\\Tide Maps.ini"
arguments="\"$first\" \"$second\""
grep -qxF "ARGS $arguments" "$appmgr_log" ||
  e2e_fail "the Application Manager got: $(grep '^ARGS' "$appmgr_log")"
[ "$(grep -c '^ARGS' "$appmgr_log")" -eq 1 ] || e2e_fail "the Application Manager ran more than once"
# The stand-in read the files while it ran: the setup had written them completely.
recorded_file "$first" >"$E2E_DIR/first.ini"
recorded_file "$second" >"$E2E_DIR/second.ini"
expect_file "$first" "$E2E_DIR/first.ini"
expect_file "$second" "$E2E_DIR/second.ini"
tr -d '\r' <"$E2E_DIR/first.ini" | sed -n '/^\[CEAppManager\]/,$p' >"$E2E_DIR/first.tail"
cat >"$E2E_DIR/first.expected" <<'INI'
[CEAppManager]
Version = 1.0
Component = Tides

[Tides]
Description = "Tide tables for handhelds"
Uninstall = "Sea Soft Tides"
CabFiles = tides.arm.cab,tides.mips.cab
INI
diff "$E2E_DIR/first.expected" "$E2E_DIR/first.tail" >&2 ||
  e2e_fail "the first description file differs"
grep -q '^Uninstall' "$E2E_DIR/second.ini" && e2e_fail "the second file has an Uninstall line"
grep -qxF $'CabFiles = maps.cab\r' "$E2E_DIR/second.ini" ||
  e2e_fail "the maps file lacks its CAB list"

for folder in AnneF Bob; do
  cmp -s "$drive_c/Palm/$folder/Install/tides.prc" "$package/files/tides.prc" ||
    e2e_fail "the Palm file did not reach $folder's install folder"
done
e2e_expect_reg "$E2E_HOTSYNC_KEY\\HotSync Manager" Install1 0x1 REG_DWORD
e2e_expect_reg "$E2E_HOTSYNC_KEY\\HotSync Manager" Install2 0x1 REG_DWORD

# The older registration of the creator was replaced; the new one took the lowest free
# key, Application0, beside the other product's.
e2e_expect_reg "$E2E_HOTSYNC_KEY\\Application0" Creator 0x4b766254 REG_DWORD
e2e_expect_reg "$E2E_HOTSYNC_KEY\\Application0" Conduit "$install_dir\\tidecond.dll" REG_SZ
e2e_expect_reg "$E2E_HOTSYNC_KEY\\Application0" Name Tides
e2e_expect_reg "$E2E_HOTSYNC_KEY\\Application0" Integrate 0x0 REG_DWORD
e2e_expect_reg "$E2E_HOTSYNC_KEY\\Application0" Priority 0x2 REG_DWORD
e2e_expect_no_reg_key "$E2E_HOTSYNC_KEY\\Application2"
e2e_expect_reg "$E2E_HOTSYNC_KEY\\Application1" Creator 0x4f746872

e2e_dump_log "$install_dir\\uninst.dat" >"$E2E_DIR/log.txt"
for line in 'item 6 KvbT' "item 2 $first" "item 2 $second" "item 1 $install_dir\\CE\\maps.cab"; do
  grep -qxF "$line" "$E2E_DIR/log.txt" || e2e_fail "the uninstall log lacks: $line"
done

echo "== removed through its uninstall command: the conduit goes, the other one stays"
command=$(e2e_reg_value "$entry" UninstallString) || e2e_fail "no uninstall entry"
e2e_drive "start $command /S" 'wait-exit code=0 timeout=30000'
e2e_expect_status 0 "silent removal"
# The copy that removed the product ends a moment after the original.
for ((i = 0; i < 200; i++)); do
  compgen -G "$drive_c/windows/kvbuninst-*.exe" >/dev/null || break
  sleep 0.05
done
e2e_expect_no_reg_key "$E2E_HOTSYNC_KEY\\Application0"
e2e_expect_reg "$E2E_HOTSYNC_KEY\\Application1" Creator 0x4f746872
[ -e "$(e2e_unixpath "$install_dir")" ] && e2e_fail "the installation folder stayed"
e2e_expect_no_reg_key "$entry"

echo "== a device-only package: the staged files go after the Application Manager ran"
: >"$appmgr_log"
staged=$E2E_DIR/staged
mkdir -p "$staged"
cp "$package/files/maps.cab" "$staged/"
cat >"$staged/project.toml" <<'TOML'
[software]
name = "Maps"
company = "Sea Soft"
install-dir = '%ProgramFilesDir%\Sea Soft\Maps'

[options]
devices-only = true

[device]
folder = '%InstallDir%\CE\'
cab-files = ["maps.cab"]

[[file]]
source = "maps.cab"
dest-dir = '%InstallDir%\CE\'
TOML
maps_setup=$(e2e_pack "$staged" Maps)
install "$maps_setup"
maps_ini='C:\Program Files\Sea Soft\Maps\CE\Maps.ini'
grep -qxF "ARGS \"$maps_ini\"" "$appmgr_log" || e2e_fail "the Application Manager did not get Maps.ini"
recorded_file "$maps_ini" | grep -qxF $'CabFiles = maps.cab\r' ||
  e2e_fail "the Application Manager did not read the description file"
maps_dir=$(e2e_unixpath 'C:\Program Files\Sea Soft\Maps')
[ -e "$maps_dir" ] && e2e_fail "staged files stayed: $(find "$maps_dir")"
e2e_expect_no_reg_key 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Sea Soft Maps'
