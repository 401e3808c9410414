#!/usr/bin/env bash
# What start-up shows: with a splash bitmap the splash, a borderless picture with the
# title as its window text, stands centred on the screen and the loader sits at the
# bottom right, 32 pixels from the right and 48 from the bottom edge, showing the package
# title and message 53; a package that requires ActiveSync on a machine without it shows
# message 8 with the information icon and ends.
. "$KVB_ROOT/tests/e2e/lib.sh"
e2e_begin startup_windows


# build NAME EXTRA-TOML: a project with the splash bitmap among its temporary files.
build() {
  local dir=$E2E_DIR/$1
  mkdir -p "$dir"
  cp "$KVB_ROOT/examples/sample/setup/splash.bmp" "$dir/splash.bmp"
  cat >"$dir/project.toml" <<TOML
[software]
name = "Splash & Co"
company = "Acme"

[appearance]
title = "%SoftwareName% Setup"
splash-bitmap = "splash.bmp"

$2

[[temp-file]]
source = "splash.bmp"
TOML
  e2e_pack "$dir" "$1"
}

# field NAME LINE: the number after NAME= in a dump line.
field() {
  sed -nE "s/.* $1=(-?[0-9]+).*/\1/p" <<<"$2"
}

echo "== splash and loader"
setup=$(build splash "")
# Both stand for at least half a second; the loader's lines are read from its labels.
e2e_drive "start $(e2e_winpath "$setup")" "wait-window class=TfrmSplashBitmapForm" dump \
  "wait-window class=TfrmSetupLoader" dump "wait-exit code=0 timeout=10000"
e2e_expect_status 0
e2e_expect_output 'window class="TfrmSplashBitmapForm" text="Splash & Co Setup"'
e2e_expect_output 'left=692 top=610 width=300 height=110'
e2e_expect_output 'control class="Static" id=1 text="Splash && Co Setup"'
e2e_expect_output 'control class="Static" id=2 text="Acme Splash && Co Setup is starting, please wait..."'
splash=$(grep -F 'window class="TfrmSplashBitmapForm"' "$E2E_OUT")
width=$(field width "$splash")
height=$(field height "$splash")
# Borderless: the window is the 240 x 90 bitmap, without caption bar or frame.
[ "$width" -eq 240 ] && [ "$height" -eq 90 ] || e2e_fail "splash window ${width}x$height"
[ "$(field left "$splash")" -eq $((512 - width / 2)) ] || e2e_fail "splash not centred: $splash"
[ "$(field top "$splash")" -eq $((384 - height / 2)) ] || e2e_fail "splash not centred: $splash"
[ -z "$(e2e_temp_folders)" ] || e2e_fail "temporary folders left: $(e2e_temp_folders)"

echo "== ActiveSync required, not installed"
e2e_reg_key_exists 'HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\CEAPPMGR.EXE' &&
  e2e_fail "the prefix has ActiveSync"
setup=$(build activesync '[options]
require-activesync = true')
e2e_drive "start $(e2e_winpath "$setup")" "wait-window class=#32770" dump \
  'expect-text "Microsoft ActiveSync was not found on this computer. Splash & Co needs it" match=part id=0xFFFF' \
  "expect-icon information" "click OK" "wait-exit code=4 timeout=5000"
e2e_expect_status 0
e2e_expect_output 'window class="#32770" text="Kalvenbrooker Setup"'
e2e_expect_output 'owner-class="KvbSetupApplication"'
[ -z "$(e2e_temp_folders)" ] || e2e_fail "temporary folders left: $(e2e_temp_folders)"
