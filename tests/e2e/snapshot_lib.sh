# Snapshots of a test's Wine prefix for before-and-after comparisons: every file of drive
# C with its size, and the registry of the machine and the user. Sourced after lib.sh.
#
# The caller may set SNAPSHOT_LIGHT_KEYS (the keys a light snapshot reads) and
# SNAPSHOT_LEFTOVERS (an extended regular expression of diff lines that may differ).
SNAPSHOT_LIGHT_KEYS=()
SNAPSHOT_LEFTOVERS='^$'

# snapshot NAME [light]: into $E2E_DIR/NAME.files, .HKLM and .HKCU; light reads only the
# keys of SNAPSHOT_LIGHT_KEYS (for quick checks that nothing changed).
snapshot() {
  local out=$E2E_DIR/$1 hive key
  (cd "$WINEPREFIX/drive_c" && find . -printf '%y %s %p\n' | sed 's/^d [0-9]* /d - /' | sort) \
    >"$out.files"
  if [ "${2:-}" = light ]; then
    for key in "${SNAPSHOT_LIGHT_KEYS[@]}"; do
      wine reg query "$key" /s </dev/null 2>/dev/null | tr -d '\r'
    done >"$out.HKLM"
    : >"$out.HKCU"
    return
  fi
  for hive in HKLM HKCU; do
    rm -f "$out.$hive.reg"
    wine reg export "$hive" "$(e2e_winpath "$out.$hive.reg")" /y </dev/null >/dev/null 2>&1
    iconv -f UTF-16LE -t UTF-8 "$out.$hive.reg" | tr -d '\r' | volatile_keys_out >"$out.$hive"
  done
}

# Keys that Wine itself rewrites whenever it starts: its own state, the hardware and the
# device classes it detects, the time zone, the count of service starts; and the
# timestamps of keys.
volatile_keys_out() {
  awk '/^\[/ { skip = ($0 ~ /\\Software\\Wine(\\|\])/ || $0 ~ /^\[HKEY_LOCAL_MACHINE\\Hardware/ ||
                       $0 ~ /CurrentControlSet\\(Enum|Hardware Profiles|Control\\(Class|DeviceClasses|Video|TimeZoneInformation|ServiceCurrent))/) }
       /^#time=/ || /^$/ { next }
       !skip'
}

# expect_same BEFORE AFTER: the snapshots are equal, but for SNAPSHOT_LEFTOVERS.
expect_same() {
  local part
  for part in files HKLM HKCU; do
    diff "$E2E_DIR/$1.$part" "$E2E_DIR/$2.$part" | grep '^[<>]' |
      grep -Ev "$SNAPSHOT_LEFTOVERS" >"$E2E_DIR/diff-$2.$part"
    [ -s "$E2E_DIR/diff-$2.$part" ] &&
      e2e_fail "$part differ between $1 and $2: $(head -30 "$E2E_DIR/diff-$2.$part")"
  done
  return 0
}
