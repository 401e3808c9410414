#!/usr/bin/env bash
# Installation benchmark: one payload (2,000 small files in 20 folders and one large file,
# 200 MiB by default) installed under Wine by a Kalvenbrooker setup and by NSIS installers
# with zlib and with LZMA compression, in the same run, alternating, on a tmpfs. Prints the
# median time of each installer, the setup's phases as fractions of its whole, the ratios
# and the sizes of the setup files. Not part of the tests.
#
#   bench/install/run.sh [--big MiB] [--small COUNT] [--runs N]
#
# Needs the host build (kvbpack), the Windows build (kvbsetup.exe, install_bench.exe; a
# release build) and Debian's nsis (scripts/install-deps.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/wine-env.sh"

big=200 small=2000 runs=3
while [ $# -gt 0 ]; do
  case "$1" in
    --big) big=$2; shift 2 ;;
    --small) small=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    *) echo "usage: $0 [--big MiB] [--small COUNT] [--runs N]" >&2; exit 2 ;;
  esac
done
kvbpack=$root/build/host/tools/kvbpack/kvbpack
stub=$root/build/win/src/startup/kvbsetup.exe
bench_exe=$root/build/win/bench/install/install_bench.exe
for f in "$kvbpack" "$stub" "$bench_exe" /usr/bin/makensis; do
  [ -x "$f" ] || [ -f "$f" ] || { echo "missing $f: build first" >&2; exit 1; }
done

# Creating many files on this machine's ext4 slows down run by run: the files go to a
# tmpfs, seen by Wine as drive T:. The prefix (hard links into the template) stays on disk.
work=/dev/shm/kvb-install-bench
prefix=$root/build/bench-install/prefix
rm -rf "$work"
mkdir -p "$work/payload" "$work/target"
trap 'kvb_wine_server_stop; kvb_xvfb_stop; rm -rf "$work" "$prefix"' EXIT

echo "== payload: $small small files, one file of $big MiB"
/usr/bin/python3 - "$work/payload" "$small" "$big" <<'PY'
import base64, os, random, sys
out, small, big = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
rng = random.Random(7)
words = [''.join(rng.choice('abcdefghijklmnopqrstuvwxyz') for _ in range(rng.randint(2, 9)))
         for _ in range(500)]
for i in range(small):
    folder = os.path.join(out, 'dir%02d' % (i % 20))
    os.makedirs(folder, exist_ok=True)
    size = rng.randint(512, 16384)
    text = ' '.join(rng.choice(words) for _ in range(size // 5))[:size]
    with open(os.path.join(folder, 'file%04d.txt' % i), 'w') as f:
        f.write(text)
# The large file: half text-like, half base64 of random bytes (partly compressible).
with open(os.path.join(out, 'big.dat'), 'wb') as f:
    left = big * 1024 * 1024
    while left > 0:
        block = (' '.join(rng.choice(words) for _ in range(200000))).encode()[:1 << 20]
        block += base64.b64encode(os.urandom(3 << 18))[:1 << 20]
        f.write(block[:left])
        left -= len(block[:left])
PY

echo "== building the setups"
{
  printf '[software]\nname = "Bench"\ncompany = "Acme"\n'
  printf "install-dir = 'T:\\\\Bench'\nprogram-group = \"Bench\"\n"
  printf '[uninstall]\nfallback-program = "payload/dir00/file0000.txt"\n'
  printf '[[file]]\nsource = "payload/big.dat"\noverwrite = "replace"\n'
  for i in $(seq 0 $((small - 1))); do
    d=$(printf 'dir%02d' $((i % 20)))
    printf "[[file]]\nsource = \"payload/%s/file%04d.txt\"\ndest-dir = '%%InstallDir%%\\\\%s\\\\'\noverwrite = \"replace\"\n" "$d" "$i" "$d"
  done
  for i in 1 2 3 4 5; do printf '[[shortcut]]\nname = "Link %d"\ntarget = "big.dat"\n' "$i"; done
  for i in $(seq 1 20); do
    printf "[[registry]]\nkey = 'Software\\\\Acme\\\\Bench'\nvalue-name = \"V%d\"\ndata = \"%d\"\n" "$i" "$i"
  done
} >"$work/project.toml"
"$kvbpack" build "$work/project.toml" -o "$work/kvb-setup.exe" --stub "$stub" >/dev/null

for compressor in zlib lzma; do
  {
    echo "Name \"Bench\""
    echo "OutFile \"nsis-$compressor.exe\""
    echo "SetCompressor $compressor"
    echo "InstallDir \"T:\\BenchNsis\""
    echo "RequestExecutionLevel admin"
    echo "Section"
    echo "  SetOutPath \"\$INSTDIR\""
    echo "  File /r \"payload\\*.*\""
    echo "  CreateDirectory \"\$SMPROGRAMS\\BenchNsis\""
    for i in 1 2 3 4 5; do
      echo "  CreateShortcut \"\$SMPROGRAMS\\BenchNsis\\Link $i.lnk\" \"\$INSTDIR\\big.dat\""
    done
    for i in $(seq 1 20); do
      echo "  WriteRegStr HKLM \"Software\\Acme\\BenchNsis\" \"V$i\" \"$i\""
    done
    echo "  WriteUninstaller \"\$INSTDIR\\uninst.exe\""
    echo "  WriteRegStr HKLM \"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\BenchNsis\" \"DisplayName\" \"Bench\""
    echo "  WriteRegStr HKLM \"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\BenchNsis\" \"UninstallString\" \"\$INSTDIR\\uninst.exe\""
    echo "SectionEnd"
    echo "Section \"Uninstall\""
    echo "  RMDir /r \"\$INSTDIR\""
    echo "SectionEnd"
  } >"$work/nsis-$compressor.nsi"
  (cd "$work" && makensis -V1 "nsis-$compressor.nsi" >/dev/null)
done

echo "== installing, $runs rounds"
kvb_wine_prefix_init
kvb_wine_prefix_copy "$prefix"
export WINEPREFIX=$prefix
ln -s "$work/target" "$WINEPREFIX/dosdevices/t:"
kvb_xvfb_start new
kvb_wine_server_start
cp "$bench_exe" "$work/"
program_files=$work/target

now() { date +%s.%N; }
declare -A times
for round in $(seq 1 "$runs"); do
  for who in kvb nsis-zlib nsis-lzma; do
    rm -rf "$program_files/Bench" "$program_files/BenchNsis"
    sync
    start=$(now)
    if [ "$who" = kvb ]; then
      phases=$(wine "$work/install_bench.exe" "$(kvb_winpath "$work/kvb-setup.exe")" </dev/null 2>/dev/null | tr -d '\r')
      echo "   round $round kvb: $phases"
      echo "$phases" >>"$work/phases.txt"
    else
      wine "$work/$who.exe" /S /NCRC '/D=T:\BenchNsis' </dev/null >/dev/null 2>&1
      [ -f "$program_files/BenchNsis/uninst.exe" ] || { echo "$who did not install" >&2; exit 1; }
    fi
    end=$(now)
    t=$(echo "$end - $start" | bc -l)
    times[$who]="${times[$who]:-} $t"
    printf '   round %d %-9s %6.2f s\n' "$round" "$who" "$t"
  done
done

median() { tr ' ' '\n' | grep . | sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
kvb=$(echo "${times[kvb]}" | median)
zlib=$(echo "${times[nsis-zlib]}" | median)
lzma=$(echo "${times[nsis-lzma]}" | median)
size_kvb=$(stat -c %s "$work/kvb-setup.exe")
size_zlib=$(stat -c %s "$work/nsis-zlib.exe")
size_lzma=$(stat -c %s "$work/nsis-lzma.exe")

# The ratio of each round: on a shared machine the load changes from round to round, and
# the installers of one round ran one after the other under much the same load.
ratios() {
  paste <(echo "${times[kvb]}" | tr ' ' '\n' | grep .) <(echo "${times[$1]}" | tr ' ' '\n' | grep .) |
    awk '{ printf "%s ", $2 / $1 }'
}
ratio_zlib=$(ratios nsis-zlib | median)
ratio_lzma=$(ratios nsis-lzma | median)

echo "== results (median of $runs, wall clock including Wine's start; ratios: median of the rounds)"
printf 'Kalvenbrooker  %7.2f s   setup %6.1f MiB\n' "$kvb" "$(echo "$size_kvb / 1048576" | bc -l)"
printf 'NSIS zlib      %7.2f s   setup %6.1f MiB   Kalvenbrooker is %.2fx faster\n' "$zlib" \
  "$(echo "$size_zlib / 1048576" | bc -l)" "$ratio_zlib"
printf 'NSIS LZMA      %7.2f s   setup %6.1f MiB   Kalvenbrooker is %.2fx faster\n' "$lzma" \
  "$(echo "$size_lzma / 1048576" | bc -l)" "$ratio_lzma"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) (figures from a busy machine are not comparable)"
printf 'setup size against NSIS zlib: %+.1f %%\n' "$(echo "($size_kvb - $size_zlib) * 100 / $size_zlib" | bc -l)"
echo "phases of the Kalvenbrooker setup (fractions of the engine's whole, median round):"
sort -t= -k3 "$work/phases.txt" | sed -n "$(( (runs + 1) / 2 ))p" | tr ' ' '\n' | grep = | awk -F= '
  { name[NR] = $1; v[NR] = $2; total += $2 }
  END { for (i = 1; i <= NR; i++) printf "  %-13s %7.3f s  %5.1f %%\n", name[i], v[i], 100 * v[i] / total }'
