#!/usr/bin/env bash
# A package built with kvbpack runs its start-up script in the run's own temporary
# folder: the script shows a message and writes registry values, the temporary files are
# there while it runs, and everything is gone when the setup has ended. A second run finds
# "kvb001" taken and uses "kvb002". A start-up script that cancels ends the setup at once.
. "$KVB_ROOT/tests/e2e/lib.sh"
e2e_begin startup_run

key='HKCU\Software\KvbE2E\Startup'

# build NAME STARTUP-SCRIPT: a small project with one temporary file, built into NAME.exe.
build() {
  local dir=$E2E_DIR/$1
  mkdir -p "$dir"
  printf 'notes for the scripts\r\n' >"$dir/notes.txt"
  cat >"$dir/project.toml" <<TOML
[software]
name = "Startup Demo"
company = "Acme"

[appearance]
title = "%SoftwareName% Setup"

[scripts]
startup = '''
$2
'''

[[temp-file]]
source = "notes.txt"
TOML
  e2e_pack "$dir" "$1"
}

setup=$(build checks '
FILEINFO "%Extracted%", "%TempSetupDir%\notes.txt", "EXISTENCE"
WRITEREG "HKEY_CURRENT_USER", "Software\KvbE2E\Startup", "TempDir", "%TempSetupDir%"
WRITEREG "HKEY_CURRENT_USER", "Software\KvbE2E\Startup", "Extracted", "%Extracted%"
MESSAGE "Start-up check", "Running in %TempSetupDir%", "INFORMATION"
')

# run_checks NUMBER: runs the setup; while its message shows, the folder "kvbNUMBER" and
# the extracted file are there; once OK is pressed the setup ends normally without them.
run_checks() {
  e2e_drive "start $(e2e_winpath "$setup")" 'wait-window class=#32770 title="Start-up check"' \
    dump 'expect-text "Running in " match=part id=0xFFFF'
  e2e_expect_status 0 "message of run $1"
  temp_dir=$(e2e_reg_value "$key" TempDir) || e2e_fail "the script wrote no TempDir"
  case "$temp_dir" in *\\kvb$1) ;; *) e2e_fail "temporary folder $temp_dir, expected kvb$1" ;; esac
  e2e_expect_reg "$key" Extracted 0x1
  temp_unix=$(e2e_unixpath "$temp_dir")
  [ -f "$temp_unix/notes.txt" ] || e2e_fail "notes.txt is not in $temp_unix during the run"
  e2e_drive 'wait-window class=#32770 title="Start-up check" process=any' "click OK" \
    "wait-exit code=0 timeout=10000"
  e2e_expect_status 0 "end of run $1"
  [ ! -e "$temp_unix" ] || e2e_fail "$temp_unix is still there after the run"
}

echo "== first run: kvb001"
run_checks 001
[ -z "$(e2e_temp_folders)" ] || e2e_fail "temporary folders left: $(e2e_temp_folders)"

echo "== kvb001 exists: kvb002"
mkdir "$temp_unix"
run_checks 002
[ -d "$(dirname "$temp_unix")/kvb001" ] || e2e_fail "the existing kvb001 was touched"
rmdir "$(dirname "$temp_unix")/kvb001"

echo "== a start-up script that cancels"
setup=$(build cancels '
WRITEREG "HKEY_CURRENT_USER", "Software\KvbE2E\Startup", "Before", "ran"
CANCEL
WRITEREG "HKEY_CURRENT_USER", "Software\KvbE2E\Startup", "After", "ran"
')
e2e_drive "start $(e2e_winpath "$setup")" "wait-exit code=5 timeout=10000"
e2e_expect_status 0 "cancelled run"
e2e_expect_reg "$key" Before ran
! e2e_reg_value "$key" After >/dev/null || e2e_fail "the script went on after CANCEL"
[ -z "$(e2e_temp_folders)" ] || e2e_fail "temporary folders left: $(e2e_temp_folders)"
