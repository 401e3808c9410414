#!/usr/bin/env bash
# The two fixed start-up messages: shown for setups whose appended package is missing or
# damaged (a signed setup's certificate table that lies about its place included), with
# the application title as caption, owned by the hidden application window; the process
# ends by itself once OK is pressed, with the message's exit code, and leaves no
# temporary folder behind.
. "$KVB_ROOT/tests/e2e/lib.sh"
e2e_begin startup_errors

internal="ERROR: internal setup error, please contact the technical support."
corrupted="ERROR: corrupted setup data, please try to download this software again or contact the development company."

u32() { printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)))"; }

# make_setup NAME HEADER_OFFSET SECTION3_OFFSET MAGIC: kvbsetup.exe followed by a
# header whose sections all start behind it, 7 option bytes and a trailer. Offsets are
# relative to the end of the image ("" appends nothing at all).
make_setup() {
  local out=$E2E_DIR/$1.exe size i
  cp "${KVB_SETUP_EXE:?}" "$out"
  [ -n "$2" ] || { echo "$out"; return; }
  size=$(stat -c %s "$out")
  {
    for i in $(seq 0 17); do u32 $((size + (i == 3 ? $3 : 72))); done
    printf '\x01\x00\x00\x00\x00\x01\x00'
    u32 $((size + $2)); u32 0; u32 "$4"
  } >>"$out"
  echo "$out"
}

# name | header offset | section 3 offset | magic | expected message | exit code
cases=(
  "header-past-end|100000|72|0x0042566C|$internal|2"
  "options-past-end|0|87|0x0042566C|$internal|2"
  "wrong-magic|0|72|0x0042566D|$corrupted|3"
  "zero-magic|0|72|0|$corrupted|3"
)
for case in "${cases[@]}"; do
  IFS='|' read -r name header section3 magic message code <<<"$case"
  echo "== $name"
  setup=$(make_setup "$name" "$header" "$section3" "$magic")
  e2e_drive "start $(e2e_winpath "$setup")" "wait-window class=#32770" dump \
    "expect-text \"$message\" id=0xFFFF" "expect-icon stop" "click OK" \
    "wait-exit code=$code timeout=5000"
  e2e_expect_status 0 "$name"
  e2e_expect_output 'window class="#32770" text="Kalvenbrooker Setup"'
  e2e_expect_output 'owner-class="KvbSetupApplication" owner-text="Kalvenbrooker Setup"'
  e2e_expect_output 'control class="Button" id=1 text="OK"'
  e2e_expect_no_output 'id=2 '  # no second button
done

# Signed setups whose security directory lies about the certificate table, or with bytes
# appended behind the table: the package counts as damaged.
make_package=$(e2e_host_tool make_package) || e2e_fail "make_package is not built (KVB_HOST_BUILD_DIR)"
"$make_package" "${KVB_SETUP_EXE:?}" "$E2E_DIR/valid.exe" || e2e_fail "make_package failed"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Kalvenbrooker Test Signer" \
  -keyout "$E2E_DIR/key.pem" -out "$E2E_DIR/cert.pem" >/dev/null 2>&1 || e2e_fail "openssl failed"
osslsigncode sign -certs "$E2E_DIR/cert.pem" -key "$E2E_DIR/key.pem" -in "$E2E_DIR/valid.exe" \
  -out "$E2E_DIR/signed.exe" >/dev/null || e2e_fail "osslsigncode failed"
u32_at() { od -An -tu4 -j "$2" -N4 "$1" | tr -d ' '; }
entry=$(($(u32_at "$E2E_DIR/signed.exe" 60) + 24 + 128))  # the PE32 security directory
table=$(u32_at "$E2E_DIR/signed.exe" "$entry")
table_size=$(u32_at "$E2E_DIR/signed.exe" $((entry + 4)))
# name | directory offset | directory size | bytes appended
signed_cases=(
  "table-beyond-the-file|$table|$((table_size + 8))|"
  "table-said-to-start-later|$((table + 8))|$((table_size - 8))|"
  "bytes-behind-the-table|$table|$table_size|appended"
)
for case in "${signed_cases[@]}"; do
  IFS='|' read -r name offset size appended <<<"$case"
  echo "== signed, $name"
  setup=$E2E_DIR/$name.exe
  cp "$E2E_DIR/signed.exe" "$setup"
  { u32 "$offset"; u32 "$size"; } | dd of="$setup" bs=1 seek="$entry" conv=notrunc status=none
  printf '%s' "$appended" >>"$setup"
  e2e_drive "start $(e2e_winpath "$setup")" "wait-window class=#32770" \
    "expect-text \"$corrupted\" id=0xFFFF" "expect-icon stop" "click OK" \
    "wait-exit code=3 timeout=5000"
  e2e_expect_status 0 "signed, $name"
done

# A setup with nothing appended: its last bytes are ordinary image bytes. Whichever of the
# two messages the bytes lead to, the exit code must be that message's.
echo "== no package"
setup=$(make_setup plain "" "" "")
e2e_drive "start $(e2e_winpath "$setup")" "wait-window class=#32770" dump "click OK" \
  "wait-exit timeout=5000"
e2e_expect_status 0
if grep -qF "text=\"$internal\"" "$E2E_OUT"; then
  e2e_expect_output "exit code 2"
else
  e2e_expect_output "text=\"$corrupted\""
  e2e_expect_output "exit code 3"
fi

folders=$(e2e_temp_folders)
[ -z "$folders" ] || e2e_fail "temporary folders left: $folders"
