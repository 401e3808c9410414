#!/usr/bin/env bash
# The driver against a small target program: every step kind, and the exit status of
# each way a step can fail.
. "$KVB_ROOT/tests/e2e/lib.sh"
e2e_begin driver

target=$(e2e_winpath "${KVB_DRIVER_TARGET_EXE:?}")
window='wait-window title="Driver Target"'

# The whole conversation: the window appears late (the target waits 300 ms first), the
# controls are operated, the program sees every change, a message box is read and
# closed, and the program's exit code is checked.
e2e_drive -t 5000 "start $target 300" "$window" \
  "type hello after=Name:" "check on text=\"Remember me\"" "check on text=Maybe" \
  "select beta" "select two class=ComboBox" \
  'expect-text "name=hello remember=1 maybe=1 list=beta combo=two"' \
  "check off id=203" "type \"\" id=202" 'expect-text "name= remember=0" match=part' \
  dump 'click "Say hello"' "wait-window class=#32770" dump "expect-icon information" \
  "click OK" wait-gone \
  "$window" "click Done" "wait-exit code=7"
e2e_expect_status 0
e2e_expect_output 'control class="Edit" id=202 text=""'
e2e_expect_output 'control class="Button" id=209 text="Maybe" checked'
e2e_expect_output '    item "beta" selected'
e2e_expect_output 'control class="Button" id=208 text="Locked" disabled'
e2e_expect_output 'window class="#32770" text="Driver Target"'
e2e_expect_output 'left=50 top=50 width=340 height=380'  # the target's main window
e2e_expect_output 'owner-class="KvbDriverTarget" owner-text="Driver Target"'
e2e_expect_output 'control class="Static" id=65535 text="Hello from target"'
e2e_expect_output 'exit code 7'

# The same steps from a script file, with a three-state box clicked round to off.
cat >"$E2E_DIR/steps.txt" <<STEPS
# comment lines and blank lines are skipped
start $target

$window timeout=5000
check on text=Maybe
check off text=Maybe
expect-text "maybe=0" match=part
click Done
wait-exit
STEPS
e2e_drive -f "$(e2e_winpath "$E2E_DIR/steps.txt")"
e2e_expect_status 0

# Each failure has its own status; the target is killed after each case.
fail_cases=(
  "2|$window|wait-window title=Nobody timeout=300"
  "2|$window|wait-exit timeout=200"
  "3|$window|click Nothing timeout=200"
  "3|$window|click Locked timeout=200"
  "3|$window|select delta timeout=200"
  "4|$window|expect-text \"name=x\" timeout=200"
  "4|$window|click Done|wait-exit code=8"
  "4|$window|click \"Say hello\"|wait-window class=#32770|expect-icon stop timeout=300"
  "1|$window|frobnicate"
  "1|dump"
)
for case in "${fail_cases[@]}"; do
  IFS='|' read -r -a fields <<<"$case"
  e2e_drive "start $target" "${fields[@]:1}" kill
  e2e_expect_status "${fields[0]}" "$case"
done

e2e_drive "start Z:\\no\\such\\program.exe"
e2e_expect_status 3 "missing program"
