#!/usr/bin/env bash
# The run's variables in a package built by kvbpack, read by its start-up script: a
# package variable that roots a destination folder is a folder variable ("%MyDir%\bin"
# with "D:\Data\" gives "D:\Data\bin"); the Windows version and the memory agree with
# what Wine reports through other calls (the program's manifest names the current
# Windows versions, and it is large-address aware). A temporary file whose target
# outside the temporary folder is read-only ends the run with the internal-error message
# and leaves that file as it was.
. "$KVB_ROOT/tests/e2e/lib.sh"
e2e_begin startup_variables

key='HKCU\Software\KvbE2E\Variables'

echo "== the program's manifest and header"
header=$(i686-w64-mingw32-objdump -p "$KVB_SETUP_EXE")
grep -q 'large address aware' <<<"$header" || e2e_fail "kvbsetup.exe is not large-address aware"
texts=$(strings -n 6 "$KVB_SETUP_EXE")
for text in requireAdministrator Microsoft.Windows.Common-Controls \
  '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' '<dpiAware'; do
  grep -qF -- "$text" <<<"$texts" || e2e_fail "the manifest lacks $text"
done

dir=$E2E_DIR/facts
mkdir -p "$dir"
printf 'tool\r\n' >"$dir/tool.txt"
cat >"$dir/project.toml" <<'TOML'
[software]
name = "Facts"
company = "Acme"

[[variable]]
name = "MyDir"
value = 'D:\Data\'

[scripts]
startup = '''
WRITEREG "HKEY_CURRENT_USER", "Software\KvbE2E\Variables", "Bin", "%MyDir%\bin"
WRITEREG "HKEY_CURRENT_USER", "Software\KvbE2E\Variables", "Version", "%OSVersion%"
WRITEREG "HKEY_CURRENT_USER", "Software\KvbE2E\Variables", "MajorMinor", "%OSMajorVersion%.%OSMinorVersion%"
WRITEREG "HKEY_CURRENT_USER", "Software\KvbE2E\Variables", "Memory", "MB %RAMMemory%"
'''

[[file]]
source = "tool.txt"
dest-dir = '%MyDir%\bin\'
TOML
setup=$(e2e_pack "$dir" facts)

echo "== folder variable, version and memory"
# As Windows 10 the prefix tells a program without a manifest that it runs on 6.2.
wine winecfg -v win10 </dev/null >/dev/null 2>&1
e2e_drive "start $(e2e_winpath "$setup")" "wait-exit code=0 timeout=10000"
e2e_expect_status 0
e2e_expect_reg "$key" Bin 'D:\Data\bin'
version=$(wine cmd /c ver </dev/null 2>/dev/null | tr -d '\r' | grep -oE '[0-9]+\.[0-9]+\.[0-9]+' | head -1)
[ -n "$version" ] || e2e_fail "cmd's ver names no version"
e2e_expect_reg "$key" Version "$version"
e2e_expect_reg "$key" MajorMinor "${version%.*}"
# Wine's total physical memory is the kernel's MemTotal.
memory=$(awk '/^MemTotal:/ { printf "%d", $2 * 1024 / 1000000 }' /proc/meminfo)
e2e_expect_reg "$key" Memory "MB $memory"

echo "== a read-only target outside the temporary folder"
kept=$WINEPREFIX/drive_c/kvbkept
mkdir -p "$kept"
printf "the user's own\r\n" >"$kept/tool.dll"
wine cmd /c attrib +r 'C:\kvbkept\tool.dll' </dev/null >/dev/null 2>&1
dir=$E2E_DIR/readonly
mkdir -p "$dir"
printf 'MZ new' >"$dir/tool.dll"
printf 'notes' >"$dir/notes.txt"
cat >"$dir/project.toml" <<'TOML'
[software]
name = "Kept"
company = "Acme"

[scripts]
startup = '''
WRITEREG "HKEY_CURRENT_USER", "Software\KvbE2E\Variables", "StartupRan", "yes"
'''

[[temp-file]]
source = "notes.txt"

[[temp-file]]
source = "tool.dll"
dest-dir = 'C:\kvbkept\'
TOML
setup=$(e2e_pack "$dir" readonly)
e2e_drive "start $(e2e_winpath "$setup")" "wait-window class=#32770" dump \
  'expect-text "ERROR: internal setup error, please contact the technical support." id=0xFFFF' \
  "expect-icon stop" "click OK" "wait-exit code=2 timeout=10000"
e2e_expect_status 0 "read-only target"
[ "$(cat "$kept/tool.dll")" = "$(printf "the user's own\r\n")" ] ||
  e2e_fail "the user's read-only file was changed or deleted"
! e2e_reg_value "$key" StartupRan >/dev/null || e2e_fail "the start-up script ran"
[ -z "$(e2e_temp_folders)" ] || e2e_fail "temporary folders left: $(e2e_temp_folders)"
