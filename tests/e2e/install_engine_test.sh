#!/usr/bin/env bash
# The installation engine end to end: packages built by kvbpack, installed into a fresh
# prefix by install_run (the engine without the wizard), checked from outside: files and
# their dates, registry values and the installed-programs entry, shortcuts, Wine's list of
# installed programs, the uninstall log; a self-registering library, a shared library
# counted by two products, a font; installing again with each answer to the overwrite
# prompt; a multi-volume package with a moved volume; cancelled installations that leave
# the prefix exactly as it was.
. "$KVB_ROOT/tests/e2e/lib.sh"
e2e_begin install_engine

app_key='HKLM\Software\Acme\Engine Demo'
entry_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Acme Engine Demo'
install_dir="$WINEPREFIX/drive_c/Program Files/Engine Demo"

# project DIR NAME VERSION [EXTRA-TOML]: a package whose text files carry VERSION.
project() {
  local dir=$E2E_DIR/$1
  mkdir -p "$dir"
  for f in app doc ask1 ask2 ask3 ask4; do printf '%s %s\r\n' "$f" "$3" >"$dir/$f.txt"; done
  printf 'uninstaller stand-in\r\n' >"$dir/uninstaller.txt"
  printf 'not really a font' >"$dir/demo.ttf"
  cp "${KVB_REGISTER_DLL:?}" "$dir/selfreg.dll"
  cp "${KVB_REGISTER_DLL:?}" "$dir/shared.dll"
  head -c 300000 /dev/urandom >"$dir/big.bin"
  cat >"$dir/project.toml" <<TOML
[package]
file-date = 2024-03-01T09:30:00
[software]
name = "$2"
company = "Acme"
install-dir = '%ProgramFilesDir%\\$2'
program-group = "$2"
display-name = "$2 $3"
display-version = "$3"
contact = "Acme support"
[uninstall]
program = "uninstaller.txt"
[[file]]
source = "app.txt"
overwrite = "replace"
[[file]]
source = "doc.txt"
dest-dir = '%InstallDir%\\Docs\\'
overwrite = "replace"
[[file]]
source = "ask1.txt"
overwrite = "ask"
[[file]]
source = "ask2.txt"
overwrite = "ask"
[[file]]
source = "ask3.txt"
overwrite = "ask"
[[file]]
source = "ask4.txt"
overwrite = "ask"
[[file]]
source = "big.bin"
overwrite = "replace"
[[file]]
source = "selfreg.dll"
self-register = true
overwrite = "replace"
[[file]]
source = "shared.dll"
dest-dir = '%CommonFilesDir%\\Acme\\'
shared = true
overwrite = "replace"
[[file]]
source = "demo.ttf"
install-font = true
font-name = "$2 (TrueType)"
overwrite = "replace"
[[shortcut]]
name = "App"
target = "app.txt"
arguments = "/open %SoftwareName%"
icon-file = '%WinDir%\\notepad.exe'
icon-index = 1
show = "maximized"
[[shortcut]]
name = "Uninstall $2"
target = "UNINSTALLER"
[[registry]]
key = 'Software\\Acme\\$2'
value-name = "Dir"
data = "%InstallDir%"
[[registry]]
key = 'Software\\Acme\\$2'
value-name = "Build"
type = "integer"
data = "1207"
[[registry]]
key = 'Software\\Acme\\$2'
value-name = "Signature"
type = "binary"
data = "4B 56 42 01"
[[registry]]
key = 'Software\\Acme\\$2'
value-name = "Languages"
type = "multi-string"
data = "English;Deutsch"
${4:-}
TOML
  echo "$dir"
}

pack() {
  local kvbpack
  kvbpack=$(e2e_host_tool kvbpack) || e2e_fail "kvbpack is not built"
  "$kvbpack" build "$1/project.toml" -o "$1/Setup.exe" --stub "${KVB_SETUP_EXE:?}" ${2:-} >/dev/null ||
    e2e_fail "kvbpack failed for $1"
}

without_wine_keys() {
  awk '/^HKEY_/ { skip = index($0, "\\Software\\Wine") > 0 } !skip'
}

# The prefix as files (content, date) and registry values, for before/after comparisons.
snapshot() {
  (cd "$WINEPREFIX/drive_c" && find . -path ./windows/temp -prune -o -path './users/*/Temp' -prune \
     -o -type f -printf '%p %T@ ' -exec md5sum {} \; | sort)
  # Wine keeps its own state under Software\Wine; every program may touch it.
  wine reg query 'HKLM\Software' /s </dev/null 2>/dev/null | tr -d '\r' | without_wine_keys
  wine reg query 'HKCU\Software' /s </dev/null 2>/dev/null | tr -d '\r' | without_wine_keys
  wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations \
    </dev/null 2>/dev/null | tr -d '\r'
}

expect_unchanged() {
  snapshot >"$E2E_DIR/after-$1.txt"
  diff "$E2E_DIR/before-$1.txt" "$E2E_DIR/after-$1.txt" >"$E2E_DIR/diff-$1.txt" ||
    e2e_fail "$1 changed the prefix: $(head -20 "$E2E_DIR/diff-$1.txt")"
}

v1=$(project v1 "Engine Demo" 1.0)
pack "$v1"
v2=$(project v2 "Engine Demo" 2.0)
pack "$v2"

echo "== a cancelled first installation leaves nothing behind"
snapshot >"$E2E_DIR/before-cancel-first.txt"
e2e_install "$v1/Setup.exe" --cancel-at 40
[ "$E2E_STATUS" -eq 3 ] || e2e_fail "the cancelled installation did not abort"
expect_unchanged cancel-first

echo "== first installation"
e2e_install "$v1/Setup.exe"
[ "$E2E_STATUS" -eq 0 ] || e2e_fail "installation failed"
[ "$(cat "$install_dir/app.txt")" = $'app 1.0\r' ] || e2e_fail "app.txt not installed"
[ "$(cat "$install_dir/Docs/doc.txt")" = $'doc 1.0\r' ] || e2e_fail "Docs\\doc.txt not installed"
cmp -s "$install_dir/big.bin" "$v1/big.bin" || e2e_fail "big.bin differs"
[ "$(date -r "$install_dir/app.txt" '+%F %T')" = "2024-03-01 09:30:00" ] ||
  e2e_fail "app.txt has the date $(date -r "$install_dir/app.txt" '+%F %T')"
[ -f "$WINEPREFIX/drive_c/windows/kvbuninst.exe" ] || e2e_fail "the uninstaller is not in the Windows folder"
e2e_expect_reg "$app_key" Dir 'C:\Program Files\Engine Demo' REG_SZ
e2e_expect_reg "$app_key" Build 0x4b7 REG_DWORD
e2e_expect_reg "$app_key" Signature 4B564201 REG_BINARY
e2e_expect_reg "$app_key" Languages 'English\0Deutsch' REG_MULTI_SZ
e2e_expect_reg "$entry_key" DisplayName 'Engine Demo 1.0'
e2e_expect_reg "$entry_key" DisplayVersion 1.0
e2e_expect_reg "$entry_key" UninstallString '"C:\windows\kvbuninst.exe" "C:\Program Files\Engine Demo\uninst.dat"'
e2e_expect_reg "$entry_key" InstallLocation 'C:\Program Files\Engine Demo\'
e2e_expect_reg "$entry_key" Publisher Acme
e2e_expect_reg "$entry_key" Contact 'Acme support'
e2e_expect_uninstall_entry "Acme Engine Demo" "Engine Demo 1.0"
e2e_expect_reg 'HKCU\Software\KvbTests\Registered' Server 0x1
e2e_expect_reg 'HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs' \
  'C:\Program Files\Common Files\Acme\shared.dll' 0x1
grep -q 'Engine Demo (TrueType)' "$WINEPREFIX/drive_c/windows/win.ini" 2>/dev/null ||
  e2e_reg_value 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' 'Engine Demo (TrueType)' >/dev/null ||
  e2e_fail "the font is not registered"

menu=$(e2e_unixpath 'C:\users\Public\Start Menu\Programs\Engine Demo')
[ -d "$menu" ] || menu=$(dirname "$(find "$WINEPREFIX/drive_c/users" -name 'App.lnk' -print -quit)")
link="$menu/App.lnk"
[ -f "$link" ] || e2e_fail "no App.lnk in the program group"
[ "$(e2e_lnk_field "$link" 'Local path')" = 'C:\Program Files\Engine Demo\app.txt' ] ||
  e2e_fail "App.lnk target: $(e2e_lnk_field "$link" 'Local path')"
[ "$(e2e_lnk_field "$link" 'Command line arguments')" = '/open Engine Demo' ] || e2e_fail "App.lnk arguments"
[ "$(e2e_lnk_field "$link" 'Working directory')" = 'C:\Program Files\Engine Demo\' ] ||
  e2e_fail "App.lnk working folder: $(e2e_lnk_field "$link" 'Working directory')"
e2e_lnk_field "$link" 'Icon location' | grep -qi 'notepad.exe' || e2e_fail "App.lnk icon"
[ "$(e2e_lnk_show_cmd "$link")" = 3 ] || e2e_fail "App.lnk show command $(e2e_lnk_show_cmd "$link")"
uninstall_link="$menu/Uninstall Engine Demo.lnk"
[ "$(e2e_lnk_field "$uninstall_link" 'Local path')" = 'C:\windows\kvbuninst.exe' ] || e2e_fail "uninstaller shortcut"
[ "$(e2e_lnk_field "$uninstall_link" 'Command line arguments')" = '"C:\Program Files\Engine Demo\uninst.dat"' ] ||
  e2e_fail "uninstaller shortcut arguments"

e2e_dump_log 'C:\Program Files\Engine Demo\uninst.dat' >"$E2E_DIR/log-1.txt"
sed 's/^/   log | /' "$E2E_DIR/log-1.txt"
grep -qx 'item 4 C:\\Program Files\\Engine Demo' "$E2E_DIR/log-1.txt" || e2e_fail "log lacks the folder"
grep -qx 'item 0 C:\\Program Files\\Engine Demo\\Docs\\doc.txt' "$E2E_DIR/log-1.txt" || e2e_fail "log lacks doc.txt"
grep -qx 'item 3 C:\\windows\\kvbuninst.exe' "$E2E_DIR/log-1.txt" || e2e_fail "log lacks the uninstaller"
[ "$(tail -1 "$E2E_DIR/log-1.txt")" = 'item 2 C:\Program Files\Engine Demo\uninst.dat' ] ||
  e2e_fail "the log's own item is not last"
items=$(grep -c '^item' "$E2E_DIR/log-1.txt")

echo "== again over it: Yes, No (with the one warning), No To All"
e2e_install "$v2/Setup.exe" --answers Y,N,X
[ "$E2E_STATUS" -eq 0 ] || e2e_fail "second installation failed"
[ "$(grep -c '^prompt:' "$E2E_OUT")" -eq 3 ] || e2e_fail "expected three prompts"
[ "$(grep -c '^message \[information\]: Engine Demo should cause errors.' "$E2E_OUT")" -eq 1 ] ||
  e2e_fail "expected the skip warning once"
[ "$(cat "$install_dir/ask1.txt")" = $'ask1 2.0\r' ] || e2e_fail "Yes did not replace ask1"
[ "$(cat "$install_dir/ask2.txt")" = $'ask2 1.0\r' ] || e2e_fail "No replaced ask2"
[ "$(cat "$install_dir/ask3.txt")" = $'ask3 1.0\r' ] || e2e_fail "No To All replaced ask3"
[ "$(cat "$install_dir/ask4.txt")" = $'ask4 1.0\r' ] || e2e_fail "No To All did not keep ask4"
e2e_expect_reg "$entry_key" DisplayVersion 2.0
e2e_dump_log 'C:\Program Files\Engine Demo\uninst.dat' >"$E2E_DIR/log-2.txt"
grep -qx 'item 0 C:\\Program Files\\Engine Demo\\ask2.txt' "$E2E_DIR/log-2.txt" ||
  e2e_fail "the kept ask2.txt fell out of the log"
[ "$(grep -c '^item' "$E2E_DIR/log-2.txt")" -eq "$items" ] || e2e_fail "the log's items changed in number"

echo "== again: Cancel, then No to the close question, then Yes To All"
e2e_install "$v1/Setup.exe" --answers C,A --close no
[ "$E2E_STATUS" -eq 0 ] || e2e_fail "third installation failed"
grep -q '^close request -> no' "$E2E_OUT" || e2e_fail "no close request"
for f in ask1 ask2 ask3 ask4; do
  [ "$(cat "$install_dir/$f.txt")" = "$f 1.0"$'\r' ] || e2e_fail "Yes To All did not replace $f"
done

echo "== Cancel at a prompt and Yes to the close question: nothing changes"
snapshot >"$E2E_DIR/before-cancel-prompt.txt"
e2e_install "$v2/Setup.exe" --answers Y,C --close yes
[ "$E2E_STATUS" -eq 3 ] || e2e_fail "the cancelled installation did not abort"
expect_unchanged cancel-prompt

echo "== a second product shares the library"
other=$(project other "Other Demo" 1.0)
pack "$other"
e2e_install "$other/Setup.exe"
[ "$E2E_STATUS" -eq 0 ] || e2e_fail "the second product failed"
e2e_expect_reg 'HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs' \
  'C:\Program Files\Common Files\Acme\shared.dll' 0x2

echo "== volumes: the next disk in another folder, then a cancelled request"
vol=$(project vol "Volume Demo" 1.0)
pack "$vol" "--volume-size 120K"
ls "$vol"/Setup.0* >/dev/null || e2e_fail "no volume files"
mkdir -p "$E2E_DIR/disk2"
mv "$vol/Setup.002" "$E2E_DIR/disk2/"
for f in "$vol"/Setup.0[0-9][3-9]; do [ -f "$f" ] && mv "$f" "$E2E_DIR/disk2/"; done
snapshot >"$E2E_DIR/before-disk-cancel.txt"
e2e_install "$vol/Setup.exe" --disk cancel --close yes
[ "$E2E_STATUS" -eq 3 ] || e2e_fail "cancelling the disk request did not abort"
grep -q '^disk 2 in ' "$E2E_OUT" || e2e_fail "no next-disk request"
expect_unchanged disk-cancel
e2e_install "$vol/Setup.exe" --disk "$(e2e_winpath "$E2E_DIR/disk2")"
[ "$E2E_STATUS" -eq 0 ] || e2e_fail "the volume installation failed"
cmp -s "$WINEPREFIX/drive_c/Program Files/Volume Demo/big.bin" "$vol/big.bin" ||
  e2e_fail "big.bin from the volumes differs"
