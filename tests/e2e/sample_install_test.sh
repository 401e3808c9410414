#!/usr/bin/env bash
# The example package installed for real through its wizard and removed again: the pages
# clicked through to Finish, then the files, the shortcuts (lnkinfo), the registry values,
# the installed-programs entry and the uninstall log checked from outside; a second
# installation over the first answering the overwrite prompt on the "INSTALL" page; a
# third one cancelled at that prompt and undone; the removal through the installed-programs entry's command (kvbuninst.exe), after which the
# prefix equals its state before the installation but for the documented leftovers.
. "$KVB_ROOT/tests/e2e/lib.sh"
. "$KVB_ROOT/tests/e2e/snapshot_lib.sh"
e2e_begin sample_install

mkdir -p "$E2E_DIR/sample"
cp -r "$KVB_ROOT/examples/sample/." "$E2E_DIR/sample/"
# The manual asks before it replaces an existing copy, so that installing again shows
# the overwrite prompt.
sed '/^source = "files\/manual.txt"$/a overwrite = "ask"' "$E2E_DIR/sample/sample.toml" \
  >"$E2E_DIR/sample/project.toml"
grep -q '^overwrite = "ask"$' "$E2E_DIR/sample/project.toml" || e2e_fail "the manual's entry moved"
setup=$(e2e_pack "$E2E_DIR/sample" setup)

dir="$WINEPREFIX/drive_c/Program Files/Sample Suite"
group=$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs)
group="$group/Sample Suite"
product='Software\Example Company\Sample Suite'
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Example Company Sample Suite'

# The pages up to "Ready", whose Install button starts the installation.
to_ready=(
  "start $(e2e_winpath "$setup")" "wait-window class=TfrmSetupMain timeout=30000"
  'expect-text "Click Next to go on" match=part' 'click "Next >"'
  'check on text="I accept the agreement"' 'click "Next >"'
  'expect-text "Choose the components to install."' 'click "Next >"'
  'click "Next >"' 'click "Next >"' 'expect-text "Setup is ready to install" match=part'
)

snapshot before

echo "== the wizard to Finish: the installation runs on the page INSTALL"
e2e_drive "${to_ready[@]}" 'click Install' \
  'expect-text "Click Finish to leave Setup" match=part timeout=60000' \
  'click Finish' 'wait-exit code=0 timeout=30000'
e2e_expect_status 0
for f in samplepad.exe Docs/readme.txt Docs/manual.txt uninst.dat; do
  [ -f "$dir/$f" ] || e2e_fail "$f was not installed"
done
[ -f "$WINEPREFIX/drive_c/windows/kvbuninst.exe" ] || e2e_fail "kvbuninst.exe was not placed"
e2e_temp_folders | grep -q . && e2e_fail "the setup left its temporary folder"

echo "== shortcuts"
[ "$(e2e_lnk_field "$group/Sample Pad.lnk" "Local path")" = 'C:\Program Files\Sample Suite\samplepad.exe' ] ||
  e2e_fail "Sample Pad points elsewhere: $(lnkinfo "$group/Sample Pad.lnk")"
[ "$(e2e_lnk_field "$group/Sample Pad.lnk" "Description")" = "Starts Sample Pad" ] ||
  e2e_fail "Sample Pad's description"
[ "$(e2e_lnk_field "$group/Readme.lnk" "Local path")" = 'C:\Program Files\Sample Suite\Docs\readme.txt' ] ||
  e2e_fail "Readme points elsewhere"
[ "$(e2e_lnk_field "$group/Uninstall Sample Suite.lnk" "Local path")" = 'C:\windows\kvbuninst.exe' ] ||
  e2e_fail "the uninstall shortcut points elsewhere: $(lnkinfo "$group/Uninstall Sample Suite.lnk")"

echo "== registry, the installed-programs entry"
e2e_expect_reg "HKLM\\$product" InstallDir 'C:\Program Files\Sample Suite' REG_SZ
e2e_expect_reg "HKLM\\$product" Build 0x4b7 REG_DWORD
[ "$(e2e_reg_type "HKLM\\$product" Signature)" = REG_BINARY ] || e2e_fail "no binary Signature"
[ "$(e2e_reg_type "HKLM\\$product" Languages)" = REG_MULTI_SZ ] || e2e_fail "no Languages list"
e2e_expect_reg "HKCU\\$product" Language English REG_SZ
e2e_reg_value "HKCU\\$product" Installed >/dev/null || e2e_fail "the after-installation script did not run"
e2e_expect_uninstall_entry "Example Company Sample Suite" "Sample Suite 1.2"
e2e_reg_value "$entry" UninstallString | grep -qiF 'kvbuninst.exe' ||
  e2e_fail "the entry's command does not start kvbuninst.exe"

echo "== installed again over the first: the overwrite prompt stands over the page INSTALL"
e2e_drive "${to_ready[@]}" 'click Install' \
  'wait-window class=TfrmMsgBoxFiles timeout=60000' 'expect-text "Yes To All"' \
  'wait-window class=TfrmSetupMain process=any timeout=3000' \
  'expect-text "Installing Sample Suite"'
e2e_expect_status 0
e2e_screenshot install-overwrite >/dev/null
e2e_drive 'wait-window class=TfrmMsgBoxFiles process=any' 'click "Yes To All"' wait-gone \
  'wait-window class=TfrmSetupMain process=any' \
  'expect-text "Click Finish to leave Setup" match=part timeout=60000' \
  'click Finish' 'wait-exit code=0 timeout=30000'
e2e_expect_status 0
[ -f "$dir/samplepad.exe" ] || e2e_fail "samplepad.exe is gone after the second installation"

echo "== Cancel at the overwrite prompt, Yes to the close question: the run is undone"
snapshot installed
e2e_drive "${to_ready[@]}" 'click Install' 'wait-window class=TfrmMsgBoxFiles timeout=60000' \
  'click Cancel' wait-gone 'wait-window class=#32770' \
  'expect-text "Setup is copying the files" match=part id=0xFFFF' 'click Yes' \
  'wait-exit code=7 timeout=30000'
e2e_expect_status 0
snapshot cancelled
expect_same installed cancelled

echo "== removed through the installed-programs entry: the prefix is as before"
uninstall=$(e2e_reg_value "$entry" UninstallString)
program=$(sed -E 's/^"([^"]*)".*$/\1/' <<<"$uninstall")
log=$(sed -E 's/^"[^"]*" "?([^"]*)"?$/\1/' <<<"$uninstall")
e2e_drive "start \"$program\" \"$log\"" 'wait-window class=#32770 process=any' 'click Yes' \
  wait-gone 'wait-window class=#32770 process=any timeout=60000' \
  'expect-text "Uninstall completed with success." id=0xFFFF' 'click OK' \
  'wait-exit code=0 timeout=30000'
e2e_expect_status 0
# The uninstaller's copy deletes itself once it has ended.
for ((i = 0; i < 200; i++)); do
  compgen -G "$WINEPREFIX/drive_c/windows/kvbuninst-*.exe" >/dev/null || break
  sleep 0.05
done
# Leftovers: the value the package's after-installation script wrote with WRITEREG
# (scripts' own registry writes are not in the uninstall log) and its keys.
SNAPSHOT_LEFTOVERS='^> \[HKEY_CURRENT_USER\\Software\\Example Company(\\Sample Suite)?\]$'
SNAPSHOT_LEFTOVERS+='|^> "Installed"="[0-9-]*"$'
snapshot removed
expect_same before removed
if e2e_uninstall_entries | grep -q "Example Company Sample Suite"; then
  e2e_fail "the installed-programs entry stayed"
fi
e2e_end
