#!/usr/bin/env bash
# DLL planting: a download folder holds the setup and copies of every DLL outside
# Windows' known DLLs that a program may be tricked into loading from its own folder,
# each leaving a mark when loaded, and Wine prefers them to its own (native first), as
# Windows does for DLLs outside its known list. The setup runs its start-up to the end
# (version information, machine queries, the splash, DLL calls of its script by full
# path, a device query, a download from a closed local port) and loads none of them; so
# does the uninstaller started from that folder, which removes a product through a copy of
# itself beside it, and the copy. A probe that loads a DLL the old way shows that the
# marks appear when a planted DLL is taken.
#
# Wine's own user32 imports version.dll (Windows' does not), so under Wine a planted
# version.dll is loaded at process start by any program with windows. Marks of such
# loads ("static") count against the program only when the program itself imports the
# DLL; a planted DLL loaded while the program runs ("dynamic") always does.
. "$KVB_ROOT/tests/e2e/lib.sh"
e2e_begin dll_planting

planted=(version uxtheme riched20 riched32 msimg32 winmm dwmapi cryptbase sfc sfc_os wininet
  winhttp rapi comctl32 shfolder userenv profapi secur32 sspicli mpr netapi32 ntmarta wtsapi32
  propsys oleacc apphelp dbghelp cryptsp bcrypt ncrypt crypt32 wintrust msasn1 iphlpapi dnsapi
  windowscodecs usp10 lpk)
build=${KVB_WIN_BUILD_DIR:?}
downloads=$E2E_DIR/downloads
mkdir -p "$downloads"
for name in "${planted[@]}"; do
  cp "$build/tests/e2e/planted_dll.dll" "$downloads/$name.dll"
done
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;$(IFS=,; echo "${planted[*]}")=n,b"

# expect_no_planted_load PROGRAM: fails for a mark of a run-time load, or of a load at
# process start of a DLL that PROGRAM imports; removes the marks.
expect_no_planted_load() {
  local program=$1 mark name how imports
  imports=$(i686-w64-mingw32-objdump -p "$program" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z')
  for mark in "$downloads"/*.loaded; do
    [ -e "$mark" ] || continue
    name=$(basename "$mark" .dll.loaded)
    how=$(cat "$mark")
    rm -f "$mark"
    if [ "$how" = dynamic ]; then
      e2e_fail "$(basename "$program") loaded the planted $name.dll while it ran"
    elif grep -qx "$name.dll" <<<"$imports"; then
      e2e_fail "$(basename "$program") imports $name.dll: the planted copy was loaded at its start"
    fi
    echo "   (the planted $name.dll was loaded at process start by Wine's own DLLs)"
  done
}

echo "== the probe takes a planted DLL: the marks work"
cp "$build/tests/e2e/dll_probe.exe" "$downloads/"
e2e_drive "start $(e2e_winpath "$downloads/dll_probe.exe")" "wait-exit code=0 timeout=10000"
e2e_expect_status 0 "the probe"
[ "$(cat "$downloads/uxtheme.dll.loaded" 2>/dev/null)" = dynamic ] ||
  e2e_fail "the probe left no mark of the planted uxtheme.dll"
rm -f "$downloads"/*.loaded "$downloads/dll_probe.exe"

echo "== the setup"
project=$E2E_DIR/project
mkdir -p "$project"
cp "$KVB_ROOT/examples/sample/setup/splash.bmp" "$build/tests/script/script_test_dll.dll" \
  "$build/tests/script/script_test_dependent.dll" "$build/tests/script/script_test_nofree.dll" \
  "$project/"
cat >"$project/project.toml" <<'TOML'
[software]
name = "Planting Check"
company = "Acme"

[appearance]
title = "%SoftwareName% Setup"
splash-bitmap = "splash.bmp"

[scripts]
startup = '''
FILEINFO "%Version%", "%TempSetupDir%\script_test_dll.dll", "VERSION"
DLLCALL "%TempSetupDir%\script_test_dependent.dll", "HelperPath", "STRING", ""
SET "%Helper%", "%DLLResult%"
DLLCALL "user32.dll", "GetSystemMetrics", "INTEGER", "0"
SET "%Width%", "%DLLResult%"
DEVICECONNECTED "%Device%"
DOWNLOAD "http://127.0.0.1:9/nothing.txt", "%TempSetupDir%\nothing.txt"
SET "%Facts%", "%WinDir%|%SysDir%|%ProgramFilesDir%|%CommonFilesDir%|%FontsDir%|%MyDocumentsDir%|%ProgramsDir%|%DesktopDir%|%StartMenuDir%|%StartUpDir%|%DotNetDir%|%DotNetVersion%|%IsDotNetInstalled%|%ActiveSyncVersion%|%IsActiveSyncInstalled%|%IsHotSyncInstalled%|%IsAdmin%|%OSVersion%|%ColorDepth%|%ScreenWidth%|%RAMMemory%|%SourceDir%"
WRITEREG "HKEY_CURRENT_USER", "Software\KvbE2E\Planting", "Version", "%Version%"
WRITEREG "HKEY_CURRENT_USER", "Software\KvbE2E\Planting", "Helper", "%Helper%"
WRITEREG "HKEY_CURRENT_USER", "Software\KvbE2E\Planting", "Width", "%Width%"
WRITEREG "HKEY_CURRENT_USER", "Software\KvbE2E\Planting", "Facts", "%Facts%"
'''

[[temp-file]]
source = "splash.bmp"

[[temp-file]]
source = "script_test_dll.dll"

[[temp-file]]
source = "script_test_dependent.dll"

[[temp-file]]
source = "script_test_nofree.dll"
TOML
setup=$(e2e_pack "$project" setup)
mv "$setup" "$downloads/setup.exe"
e2e_drive "start $(e2e_winpath "$downloads/setup.exe")" "wait-window class=TfrmSplashBitmapForm" \
  "wait-exit code=0 timeout=20000"
e2e_expect_status 0 "the setup"
expect_no_planted_load "$downloads/setup.exe"
key='HKCU\Software\KvbE2E\Planting'
e2e_expect_reg "$key" Version 1.2.3.4
helper=$(e2e_reg_value "$key" Helper) || e2e_fail "the script wrote no Helper"
case "$helper" in *\\kvb001\\script_test_nofree.dll) ;; *) e2e_fail "the helper DLL came from $helper" ;; esac
width=$(e2e_reg_value "$key" Width)  # the screen's width, stored as a number
[ "$width" = 0x400 ] || e2e_fail "user32.dll by name gave '$width'"
e2e_reg_value "$key" Facts >/dev/null || e2e_fail "the script wrote no Facts"

echo "== a program that runs from a copy of itself"
cp "$build/tests/base/self_copy_child.exe" "$downloads/"
report=$E2E_DIR/report.txt
e2e_drive "start $(e2e_winpath "$downloads/self_copy_child.exe") copy $(e2e_winpath "$report")" \
  "wait-exit code=7 timeout=20000"
e2e_expect_status 0 "the program and its copy"
expect_no_planted_load "$downloads/self_copy_child.exe"
copy=$(e2e_unixpath "$(head -1 "$report" | tr -d '\r')")
[ -f "$copy" ] || e2e_fail "no copy at $copy"
for name in "${planted[@]}"; do
  [ ! -e "$(dirname "$copy")/$name.dll.loaded" ] || e2e_fail "the copy loaded $name.dll"
done

echo "== the uninstaller and the copy of itself it removes the product from"
product=$E2E_DIR/product
mkdir -p "$product"
printf 'app\r\n' >"$product/app.txt"
cat >"$product/project.toml" <<'TOML'
[software]
name = "Planting Check"
company = "Acme"
install-dir = '%ProgramFilesDir%\Planting Check'
display-name = "Planting Check"
[uninstall]
enabled = true
[[file]]
source = "app.txt"
TOML
wine "${KVB_INSTALL_RUN_EXE:?}" "$(e2e_winpath "$(e2e_pack "$product" Setup)")" </dev/null >/dev/null 2>&1 ||
  e2e_fail "the product could not be installed"
installed="$WINEPREFIX/drive_c/Program Files/Planting Check/app.txt"
[ -f "$installed" ] || e2e_fail "the product's file was not installed"
uninstall_log=$(e2e_reg_value 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Acme Planting Check' \
  UninstallString | sed -E 's/^"[^"]*" "([^"]*)".*$/\1/')
cp "${KVB_UNINST_EXE:?}" "$downloads/kvbuninst.exe"
e2e_drive "start $(e2e_winpath "$downloads/kvbuninst.exe") \"$uninstall_log\" /S" "wait-exit code=0 timeout=20000"
e2e_expect_status 0 "the uninstaller"
for ((i = 0; i < 200; i++)); do
  compgen -G "$downloads/kvbuninst-*.exe" >/dev/null || break
  sleep 0.05
done
expect_no_planted_load "$KVB_UNINST_EXE"
[ ! -e "$installed" ] || e2e_fail "the uninstaller left the product's file"
