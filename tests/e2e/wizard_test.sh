#!/usr/bin/env bash
# The wizard of the example package, built with kvbpack, driven like a user: the first
# page, Next through every page and Back again, the secondary dialog, a folder chosen in
# the directory selection, the close question answered No and then Yes (a cancelled run
# has its own exit code and leaves no temporary folder), the last page closing without a
# question, the variant with a background window hosting the wizard and deciding its
# closing, and a package whose memory requirement fails with its message and error code.
. "$KVB_ROOT/tests/e2e/lib.sh"
e2e_begin wizard

mkdir -p "$E2E_DIR/sample"
cp -r "$KVB_ROOT/examples/sample/." "$E2E_DIR/sample/"
mv "$E2E_DIR/sample/sample.toml" "$E2E_DIR/sample/project.toml"
setup=$(e2e_pack "$E2E_DIR/sample" setup)

echo "== Next to the last page and Back to the first, a secondary dialog on the way"
e2e_drive "start $(e2e_winpath "$setup")" \
  "wait-window class=TfrmSetupMain" 'expect-text "Click Next to go on" match=part' \
  'expect-text "Sample Suite Setup"' \
  'click "Next >"' 'expect-text "Please read the following licence agreement."' \
  'click "Next >"' 'wait-window class=#32770' \
  'expect-text "Please accept the licence agreement to install Sample Suite." id=0xFFFF' \
  'click OK' wait-gone 'wait-window class=TfrmSetupMain' \
  'check on text="I accept the agreement"' 'click "Next >"' \
  'expect-text "Choose the components to install."' \
  'click "Details..."' 'wait-window class=TfrmSecondaryDialog' \
  'expect-text "Components of Sample Suite"' \
  'expect-text "Documentation: the readme and the manual" match=part' 'click OK' wait-gone \
  'wait-window class=TfrmSetupMain' 'click "Next >"' \
  'expect-text "Setup installs Sample Suite into this folder:"' \
  'expect-text "C:\\Program Files\\Sample Suite" class=Edit' \
  'click Browse...' 'wait-window class=TfrmDirectorySel' 'expect-text "Directory Selection"' \
  'click OK' wait-gone 'wait-window class=TfrmSetupMain' \
  'expect-text "C:\\Program Files" class=Edit' \
  'click "Next >"' 'expect-text "Setup adds the shortcuts to this program group:"' \
  'click "Next >"' 'expect-text "Folder: C:\\Program Files"' \
  'click "< Back"' 'expect-text "Existing groups:"' \
  'click "< Back"' 'expect-text "Setup installs Sample Suite into this folder:"' \
  'click "< Back"' 'click "< Back"' 'expect-text "Please read the following licence agreement."' \
  'click "< Back"' 'expect-text "Click Next to go on" match=part' \
  'click Cancel' 'wait-window class=#32770' 'click Yes' 'wait-exit code=7 timeout=10000'
e2e_expect_status 0 "the walk through the pages"

echo "== the close question on a middle page: No keeps the wizard, Yes cancels the setup"
e2e_drive "start $(e2e_winpath "$setup")" \
  "wait-window class=TfrmSetupMain" 'click "Next >"' \
  'expect-text "Please read the following licence agreement."' 'click Cancel' \
  'wait-window class=#32770' 'expect-text "Do you want to close the Setup?" id=0xFFFF' \
  'expect-icon question' 'click No' wait-gone \
  'wait-window class=TfrmSetupMain' 'expect-text "Please read the following licence agreement."' \
  'click Cancel' 'wait-window class=#32770' 'click Yes' 'wait-exit code=7 timeout=10000'
e2e_expect_status 0 "the cancelled run"
folders=$(e2e_temp_folders)
[ -z "$folders" ] || e2e_fail "temporary folders left: $folders"

echo "== the last page closes without a question and ends the setup normally"
e2e_drive "start $(e2e_winpath "$setup")" "wait-window class=TfrmSetupMain" \
  'click "Next >"' 'check on text="I accept the agreement"' 'click "Next >"' \
  'click "Next >"' 'click "Next >"' 'click "Next >"' 'expect-text "Setup is ready to install" match=part' \
  'click Install' 'expect-text "Click Finish to leave Setup" match=part timeout=60000' \
  'click Cancel' 'wait-exit code=0 timeout=10000'
e2e_expect_status 0 "closing on the last page"

echo "== with a background window: the wizard hosted in front of it, closing decided through it"
mkdir -p "$E2E_DIR/back"
cp -r "$KVB_ROOT/examples/sample/." "$E2E_DIR/back/"
cp "$E2E_DIR/back/sample-back.toml" "$E2E_DIR/back/project.toml"
back_setup=$(e2e_pack "$E2E_DIR/back" setup-back)
e2e_drive "start $(e2e_winpath "$back_setup")" "wait-window class=TfrmBackWindow" \
  "wait-window class=TfrmSetupMain" 'expect-text "Click Next to go on" match=part' \
  'click "Next >"' 'expect-text "Please read the following licence agreement."' \
  'click Cancel' 'wait-window class=#32770' 'expect-text "Do you want to close the Setup?" id=0xFFFF' \
  'click No' wait-gone 'wait-window class=TfrmSetupMain' \
  'expect-text "Please read the following licence agreement."' \
  'click Cancel' 'wait-window class=#32770' 'click Yes' 'wait-exit code=7 timeout=20000'
e2e_expect_status 0 "the background-window run"
folders=$(e2e_temp_folders)
[ -z "$folders" ] || e2e_fail "temporary folders left: $folders"

echo "== a failing requirement shows its message and ends with the wizard's error code"
mkdir -p "$E2E_DIR/memory"
cat >"$E2E_DIR/memory/project.toml" <<'TOML'
[software]
name = "Big Demo"
company = "Acme"

[requirements]
memory-mb = 2000000000

[appearance]
title = "%SoftwareName% Setup"

[scripts]
error = '''
WRITEREG "HKEY_CURRENT_USER", "Software\KvbE2E\Wizard", "ErrorCode", "%ErrorCode%"
'''

[[dialog]]
name = "Welcome"
title = "Big Demo"
width = 300
height = 100

  [[dialog.control]]
  kind = "label"
  left = 10
  top = 10
  width = 280
  height = 20
  caption = "never shown"
TOML
memory_setup=$(e2e_pack "$E2E_DIR/memory" memory)
e2e_drive "start $(e2e_winpath "$memory_setup")" "wait-window class=#32770" \
  'expect-text "Big Demo needs more RAM memory. Setup cannot continue and will now exit." id=0xFFFF' \
  'expect-icon stop' 'click OK' 'wait-exit code=8 timeout=10000'
e2e_expect_status 0 "the failed requirement"
e2e_expect_reg 'HKCU\Software\KvbE2E\Wizard' ErrorCode 0x7

e2e_end
