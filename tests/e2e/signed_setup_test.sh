#!/usr/bin/env bash
# Signed setups, made the way a vendor makes them: kvbpack builds the example, kvbpack
# signs it (a test certificate made here with openssl), osslsigncode and kvbpack verify
# it, and the signed setup runs exactly as the unsigned one, driven by the same steps. A
# signed multi-volume build signs through the project's [signing] table. One byte
# changed inside a signed package fails both verifications and makes the setup show
# the corrupted-data message. The example's last page downloads its release notes from
# a local server on the port the example names, in a network namespace of the test's own.
. "$KVB_ROOT/tests/e2e/lib.sh"
. "$KVB_ROOT/tests/e2e/net_lib.sh"
net_isolate "$0" "$@"
e2e_begin signed_setup
net_server notes --port 8731

kvbpack=$(e2e_host_tool kvbpack) || e2e_fail "kvbpack is not built (KVB_HOST_BUILD_DIR)"
for tool in openssl osslsigncode; do
  command -v "$tool" >/dev/null || e2e_fail "$tool is missing (scripts/install-deps.sh installs it)"
done

pki=$E2E_DIR/pki
mkdir -p "$pki"
export KVB_TEST_SIGN_PASSWORD="correct horse"
openssl req -x509 -newkey rsa:2048 -sha256 -days 2 -subj "/CN=Kalvenbrooker Test Signer" \
  -keyout "$pki/key.pem" -out "$pki/cert.pem" -passout env:KVB_TEST_SIGN_PASSWORD \
  >/dev/null 2>&1 || e2e_fail "openssl could not make the test certificate"
openssl pkcs12 -export -inkey "$pki/key.pem" -in "$pki/cert.pem" -out "$pki/cert.p12" \
  -passin env:KVB_TEST_SIGN_PASSWORD -passout env:KVB_TEST_SIGN_PASSWORD >/dev/null 2>&1 ||
  e2e_fail "openssl could not make the PKCS#12 file"
printf '%s\n' "$KVB_TEST_SIGN_PASSWORD" >"$pki/password.txt"

# expect_verified SETUP: both tools accept the signature, kvbpack finds the package intact.
expect_verified() {
  osslsigncode verify -CAfile "$pki/cert.pem" -in "$1" >"$E2E_DIR/osslsigncode.out" 2>&1 ||
    e2e_fail "osslsigncode rejects $1: $(tail -3 "$E2E_DIR/osslsigncode.out")"
  "$kvbpack" verify "$1" --ca-file "$pki/cert.pem" >"$E2E_DIR/verify.out" 2>&1 ||
    e2e_fail "kvbpack verify rejects $1: $(cat "$E2E_DIR/verify.out")"
  grep -qx "Signature: valid" "$E2E_DIR/verify.out" || e2e_fail "no valid signature reported"
  grep -q "^Package: intact" "$E2E_DIR/verify.out" || e2e_fail "no intact package reported"
}

# drive SETUP: the example's own steps (scripts/sample.drive) from start to end; sets
# $run to what the driver saw.
drive() {
  e2e_drive "start $(e2e_winpath "$1")" -f "$(e2e_winpath "$KVB_ROOT/scripts/sample.drive")"
  e2e_expect_status 0 "driving $1"
  folders=$(e2e_temp_folders)
  [ -z "$folders" ] || e2e_fail "temporary folders left: $folders"
  run=$(cat "$E2E_OUT")
}

echo "== build, then sign: the two steps of the README"
mkdir -p "$E2E_DIR/unsigned" "$E2E_DIR/signed"
"$kvbpack" build "$KVB_ROOT/examples/sample/sample.toml" -o "$E2E_DIR/unsigned/setup.exe" \
  --stub "${KVB_SETUP_EXE:?}" >/dev/null || e2e_fail "kvbpack build failed"
cp "$E2E_DIR/unsigned/setup.exe" "$E2E_DIR/signed/setup.exe"
"$kvbpack" sign "$E2E_DIR/signed/setup.exe" --pkcs12 "$pki/cert.p12" \
  --password-env KVB_TEST_SIGN_PASSWORD --description "Sample Suite" \
  --url "https://example.invalid/sample" || e2e_fail "kvbpack sign failed"
expect_verified "$E2E_DIR/signed/setup.exe"
osslsigncode verify -CAfile "$pki/cert.pem" -in "$E2E_DIR/signed/setup.exe" 2>&1 |
  grep -q "Sample Suite" || e2e_fail "the signature does not carry the description"

echo "== the signed setup runs as the unsigned one"
drive "$E2E_DIR/unsigned/setup.exe"
unsigned_run=$run
drive "$E2E_DIR/signed/setup.exe"
[ "$run" = "$unsigned_run" ] || e2e_fail "the runs differ: unsigned [$unsigned_run] signed [$run]"

echo "== a signed multi-volume build, signed through [signing]"
project=$E2E_DIR/volumes/sample.toml
mkdir -p "$E2E_DIR/volumes"
cp -r "$KVB_ROOT/examples/sample/." "$E2E_DIR/volumes/"
cat >>"$project" <<TOML

[signing]
certificate = "$pki/cert.pem"
key = "$pki/key.pem"
password-file = "$pki/password.txt"
description = "Sample Suite"
TOML
"$kvbpack" build "$project" -o "$E2E_DIR/volumes/out/setup.exe" --stub "$KVB_SETUP_EXE" \
  --volume-size 64K >"$E2E_DIR/build.out" || e2e_fail "the signed multi-volume build failed"
grep -q "volume files, signed" "$E2E_DIR/build.out" || e2e_fail "build says: $(cat "$E2E_DIR/build.out")"
[ -f "$E2E_DIR/volumes/out/setup.002" ] || e2e_fail "no second volume file"
expect_verified "$E2E_DIR/volumes/out/setup.exe"
drive "$E2E_DIR/volumes/out/setup.exe"
[ "$run" = "$unsigned_run" ] || e2e_fail "the multi-volume run differs: [$run]"

echo "== one byte changed inside the signed package"
damaged=$E2E_DIR/damaged/setup.exe
mkdir -p "$E2E_DIR/damaged"
cp "$E2E_DIR/signed/setup.exe" "$damaged"
# The middle of section 15: compressed data of the splash bitmap, read first at start-up.
read -r begin size < <("$kvbpack" info "$damaged" | awk '$1 == 15 {print $(NF-2), $(NF-1)}')
[ -n "$begin" ] || e2e_fail "kvbpack info shows no section 15"
offset=$((begin + size / 2))
byte=$(od -An -tu1 -j "$offset" -N1 "$damaged" | tr -d ' ')
printf "$(printf '\\%03o' $(((byte + 1) % 256)))" |
  dd of="$damaged" bs=1 seek="$offset" conv=notrunc status=none
! osslsigncode verify -CAfile "$pki/cert.pem" -in "$damaged" >/dev/null 2>&1 ||
  e2e_fail "osslsigncode accepts the changed setup"
! "$kvbpack" verify "$damaged" --ca-file "$pki/cert.pem" >"$E2E_DIR/verify.out" 2>&1 ||
  e2e_fail "kvbpack verify accepts the changed setup"
grep -qx "Signature: not valid" "$E2E_DIR/verify.out" || e2e_fail "$(cat "$E2E_DIR/verify.out")"
grep -q "^Package: damaged" "$E2E_DIR/verify.out" || e2e_fail "$(cat "$E2E_DIR/verify.out")"
e2e_drive "start $(e2e_winpath "$damaged")" "wait-window class=#32770" \
  'expect-text "ERROR: corrupted setup data, please try to download this software again or contact the development company." id=0xFFFF' \
  "click OK" "wait-exit code=3 timeout=10000"
e2e_expect_status 0 "the changed setup"
folders=$(e2e_temp_folders)
[ -z "$folders" ] || e2e_fail "temporary folders left: $folders"
