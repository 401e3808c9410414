#!/usr/bin/env bash
# The helpers of lib.sh against known prefix contents: path mapping, registry values of
# every printed form, a real shortcut file, the installed-programs list, temporary
# folders and host tools.
. "$KVB_ROOT/tests/e2e/lib.sh"
e2e_begin harness

expect_eq() {  # expect_eq ACTUAL EXPECTED WHAT
  [ "$1" = "$2" ] || e2e_fail "$3: '$1', expected '$2'"
}

# Paths: Windows paths resolve without regard to case; Z: is the Linux root.
mkdir -p "$WINEPREFIX/drive_c/Program Files/Sample"
touch "$WINEPREFIX/drive_c/Program Files/Sample/ReadMe.txt"
expect_eq "$(e2e_unixpath 'c:\PROGRAM FILES\sample\readme.TXT')" \
  "$WINEPREFIX/drive_c/Program Files/Sample/ReadMe.txt" "unixpath"
expect_eq "$(e2e_unixpath 'C:\Program Files\New\a.txt')" \
  "$WINEPREFIX/drive_c/Program Files/New/a.txt" "unixpath of a missing file"
expect_eq "$(e2e_unixpath "$(e2e_winpath "$E2E_DIR/x y.txt")")" "$E2E_DIR/x y.txt" "winpath"

# Registry values as `wine reg` prints them.
key='HKLM\Software\KvbE2E'
reg_add() { wine reg add "$key" "$@" /f </dev/null >/dev/null 2>&1 || e2e_fail "reg add $*"; }
reg_add /v 'Two words' /t REG_SZ /d 'a  b'
reg_add /v Empty /t REG_SZ /d ''
reg_add /ve /d 'default'
reg_add /v Bin /t REG_BINARY /d 0a0b0c
reg_add /v Num /t REG_DWORD /d 42
reg_add /v Path /t REG_EXPAND_SZ /d '%SystemRoot%\x'
values=(
  "Two words|a  b|REG_SZ"
  "Empty||REG_SZ"
  "|default|REG_SZ"
  "Bin|0A0B0C|REG_BINARY"
  "Num|0x2a|REG_DWORD"
  "Path|%SystemRoot%\\x|REG_EXPAND_SZ"
)
for v in "${values[@]}"; do
  IFS='|' read -r name data type <<<"$v"
  e2e_expect_reg "$key" "$name" "$data" "$type"
done
! e2e_reg_value "$key" Missing >/dev/null || e2e_fail "a missing value was found"
e2e_reg_key_exists "$key" || e2e_fail "key not found"
e2e_expect_no_reg_key "$key\\Missing"

# The installed-programs list shows entries with a display name and an uninstall command.
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
wine reg add "$uninstall\\KvbSample" /v DisplayName /d 'Kvb Sample 1.0' /f </dev/null >/dev/null 2>&1
wine reg add "$uninstall\\KvbSample" /v UninstallString /d 'C:\windows\kvbuninst.exe' /f </dev/null >/dev/null 2>&1
e2e_expect_uninstall_entry KvbSample 'Kvb Sample 1.0'
! e2e_uninstall_entries | grep -q '^KvbNothing|' || e2e_fail "unexpected entry"

# A shortcut written through the shell.
link="$E2E_DIR/Sample.lnk"
wine "${KVB_MAKE_LINK_EXE:?}" "$(e2e_winpath "$link")" 'C:\Program Files\Sample\app.exe' \
  '/x "y"' 'C:\Program Files\Sample' 'Sample app' 'C:\Program Files\Sample\icons.dll' 2 7 \
  </dev/null || e2e_fail "make_link failed"
fields=(
  "Local path|C:\\Program Files\\Sample\\app.exe"
  "Command line arguments|/x \"y\""
  "Working directory|C:\\Program Files\\Sample"
  "Description|Sample app"
  "Icon location|C:\\Program Files\\Sample\\icons.dll"
  "Icon index|2"
)
for f in "${fields[@]}"; do
  IFS='|' read -r field value <<<"$f"
  expect_eq "$(e2e_lnk_field "$link" "$field")" "$value" "shortcut $field"
done
! e2e_lnk_field "$link" "No such field" >/dev/null || e2e_fail "a missing field was found"
expect_eq "$(e2e_lnk_show_cmd "$link")" 7 "shortcut show command"

# Temporary folders named kvb*, in the user's and in the Windows temporary folder.
[ -z "$(e2e_temp_folders)" ] || e2e_fail "temporary folders before the test"
mkdir -p "$WINEPREFIX"/drive_c/users/*/Temp/kvb001 "$WINEPREFIX/drive_c/windows/temp/KVB002" \
  "$WINEPREFIX/drive_c/windows/temp/other"
expect_eq "$(e2e_temp_folders | sed 's|.*/||' | sort | tr '\n' ' ')" "KVB002 kvb001 " "temp folders"

# Host tools.
if [ -n "${KVB_HOST_BUILD_DIR:-}" ] && [ -d "$KVB_HOST_BUILD_DIR" ]; then
  e2e_host_tool base_tests >/dev/null || e2e_fail "host tool base_tests not found"
fi
! e2e_host_tool no_such_tool >/dev/null || e2e_fail "a missing host tool was found"
