#!/usr/bin/env bash
# Handhelds under Wine with the stand-ins of ActiveSync and a HotSync installation made
# here: a package that requires both starts once they are registered, and its start-up
# script reaches the stand-in device (processor, platform, serial, registry, files) and
# the HotSync users. Without the registrations the same package stops with exit code 4.
. "$KVB_ROOT/tests/e2e/lib.sh"
e2e_begin devices

drive_c=$WINEPREFIX/drive_c

dir=$E2E_DIR/package
mkdir -p "$dir"
printf 'tide notes\r\n' >"$dir/notes.txt"
cat >"$dir/project.toml" <<'TOML'
[software]
name = "Tides"
company = "Sea Soft"

[options]
require-activesync = true
require-hotsync = true

[[platform]]
name = "PPC"

[[platform]]
name = "PPC2002"

[scripts]
startup = '''
DEVICECONNECTED "%Connected%"
DEVICEPROCESSOR "%Cpu%"
DEVICEPLATFORM "%Platform%"
DEVICESERIAL "%Serial%"
DEVICEOS "%Os%", "FULL"
DEVICEWRITEREG "HKEY_LOCAL_MACHINE", "Software\Tides", "Level", "42"
DEVICEREADREG "%Level%", "HKEY_LOCAL_MACHINE", "Software\Tides", "Level", "none"
DEVICEMAKEFOLDER "\Tides"
COPYTODEVICE "%TempSetupDir%\notes.txt", "\Tides\notes.txt"
DEVICEFILEINFO "%Size%", "\Tides\notes.txt", "SIZE"
DEVICEFILEOPEN "%Open%", "\Tides\log.txt", "0"
DEVICEFILEWRITELINE "written by %SoftwareName%"
DEVICEFILECLOSE
HOTSYNCUSERCOUNT "%Users%"
HOTSYNCUSER "%Second%", "1"
MESSAGE "Device check", "%Connected%|%Cpu%|%Platform%|%Serial%|%Os%|%Level%|%Size%|%Open%|%Users%|%Second%|%HotSyncUser%", "INFORMATION"
'''

[[temp-file]]
source = "notes.txt"
TOML
setup=$(e2e_pack "$dir" tides)

echo "== neither ActiveSync nor HotSync: the setup stops"
e2e_drive "start $(e2e_winpath "$setup")" 'wait-window class=#32770' 'click OK' \
  'wait-exit code=4 timeout=10000'
e2e_expect_status 0 "run without the stand-ins"

echo "== stand-ins registered"
e2e_activesync_standins
e2e_hotsync_standin
device=$drive_c/kvbdevice
mkdir -p "$device/root"
printf 'processor=2577\nplatform=PocketPC\nserial=SN-7\nmajor=4\nminor=20\n' >"$device/device.ini"

e2e_drive "start $(e2e_winpath "$setup")" 'wait-window class=#32770 title="Device check"' \
  'expect-text "1|STRONGARM|PPC|SN-7|4.20|42|12|OK|2|Bob|Bob" id=0xFFFF' 'click OK' \
  'wait-exit code=0 timeout=10000'
e2e_expect_status 0 "run with the stand-ins"
[ "$(cat "$device/root/Tides/notes.txt")" = "$(printf 'tide notes\r\n')" ] ||
  e2e_fail "the notes did not reach the device"
[ "$(cat "$device/root/Tides/log.txt")" = "$(printf 'written by Tides\r\n')" ] ||
  e2e_fail "the device file holds: $(cat "$device/root/Tides/log.txt")"
grep -q "$(printf 'V\tHKLM\\\\Software\\\\Tides\tLevel\t4\t42')" "$device/registry.txt" ||
  e2e_fail "the device registry lacks the value: $(cat "$device/registry.txt")"
! grep -q 'QX' "$device/registry.txt" || e2e_fail "the agent's answer was left on the device"
[ ! -e "$device/root/kVB.exe" ] || e2e_fail "the agent was left on the device"
grep -q 'agent started: machine 448' "$device/calls.log" || e2e_fail "no ARM agent was started"
