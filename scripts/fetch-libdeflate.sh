#!/usr/bin/env bash
# Builds libdeflate as a static library for the i686 mingw cross build from Debian's
# source package, once: the result stays in the given folder (under build/) and later
# runs return at once. The source comes through apt-get with a private sources list
# derived from the machine's own Debian entries, so the system's apt configuration is
# left untouched. Usage: scripts/fetch-libdeflate.sh OUT_DIR
# Produces OUT_DIR/include/libdeflate.h and OUT_DIR/lib/libdeflate.a.
set -euo pipefail

out=${1:?usage: fetch-libdeflate.sh OUT_DIR}
cc=${KVB_MINGW_CC:-i686-w64-mingw32-gcc-posix}
ar=${KVB_MINGW_AR:-i686-w64-mingw32-ar}
[ -f "$out/lib/libdeflate.a" ] && [ -f "$out/include/libdeflate.h" ] && exit 0
mkdir -p "$out"
out=$(cd "$out" && pwd)
# Two configure runs at once build it once.
exec 9>"$out/.lock"
flock 9
[ -f "$out/lib/libdeflate.a" ] && [ -f "$out/include/libdeflate.h" ] && exit 0

work="$out/work"
rm -rf "$work"
mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/src"

# The deb-src line: the first Debian "main" entry of the machine's sources, one-line
# or deb822 form, with its signing key when it names one.
debian_source_line() {
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    sed -n -E 's/^deb[[:space:]]+(\[[^]]*\][[:space:]]+)?([^[:space:]]*debian[^[:space:]]*)[[:space:]]+([a-z]+)[[:space:]]+.*main.*/deb-src \1\2 \3 main/p' "$f" |
      grep -v -- '-security' | head -n 1 && return 0
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk '
      function flush() {
        if (types ~ /deb/ && uris ~ /debian/ && uris !~ /security/ && comps ~ /main/ && !done) {
          split(suites, s, " "); opt = key != "" ? "[signed-by=" key "] " : "";
          print "deb-src " opt uris " " s[1] " main"; done = 1
        }
        types = uris = suites = comps = key = ""
      }
      /^[[:space:]]*$/ { flush(); next }
      /^Types:/ { sub(/^Types:[[:space:]]*/, ""); types = $0 }
      /^URIs:/ { sub(/^URIs:[[:space:]]*/, ""); uris = $1 }
      /^Suites:/ { sub(/^Suites:[[:space:]]*/, ""); suites = $0 }
      /^Components:/ { sub(/^Components:[[:space:]]*/, ""); comps = $0 }
      /^Signed-By:/ { sub(/^Signed-By:[[:space:]]*/, ""); key = $1 }
      END { flush() }' "$f" | head -n 1 | grep . && return 0
  done
  return 1
}

line=$(debian_source_line) || {
  echo "fetch-libdeflate.sh: no Debian entry in the apt sources" >&2
  exit 1
}
echo "$line" >"$work/sources.list"
apt_opts=(
  -o "Dir::Etc::SourceList=$work/sources.list"
  -o "Dir::Etc::SourceParts=/dev/null"
  -o "Dir::State::Lists=$work/lists"
  -o "Dir::Cache=$work/cache"
  -o "APT::Sandbox::User=root"
)
apt-get "${apt_opts[@]}" -q update >"$work/update.log" 2>&1 ||
  { cat "$work/update.log" >&2; exit 1; }
(cd "$work/src" && apt-get "${apt_opts[@]}" -q source libdeflate) >"$work/source.log" 2>&1 ||
  { cat "$work/source.log" >&2; exit 1; }

src=$(find "$work/src" -maxdepth 1 -mindepth 1 -type d -name 'libdeflate-*' | head -n 1)
[ -n "$src" ] || { echo "fetch-libdeflate.sh: source folder missing" >&2; exit 1; }

mkdir -p "$work/obj" "$out/lib" "$out/include"
for c in "$src"/lib/*.c "$src"/lib/x86/*.c; do
  "$cc" -O2 -std=c99 -DNDEBUG -I"$src" -c "$c" -o "$work/obj/$(basename "$(dirname "$c")")_$(basename "$c" .c).o"
done
rm -f "$out/lib/libdeflate.a.tmp"
"$ar" rcs "$out/lib/libdeflate.a.tmp" "$work/obj"/*.o
cp "$src/libdeflate.h" "$out/include/libdeflate.h"
cp "$src/COPYING" "$out/COPYING"
mv "$out/lib/libdeflate.a.tmp" "$out/lib/libdeflate.a"
rm -rf "$work"
echo "fetch-libdeflate.sh: built $out/lib/libdeflate.a from $(basename "$src")"
