# Configures and builds the project's build trees; sourced by build.sh and test.sh.
#   build/host  Linux build: portable libraries, host tests, the Linux builder
#   build/win   i686 Windows build: kvbsetup.exe, Windows tools, Win32 and end-to-end tests
#   build/fuzz  clang build of the libFuzzer targets

KVB_ROOT=${KVB_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
KVB_JOBS=${KVB_JOBS:-$(nproc)}

# Optimisation and debug levels chosen for build time: full -O2 -g doubles or triples
# the compile time of the sanitizer and fuzz builds; -O1 with line tables keeps the
# sanitizer reports readable. The Windows build is a plain release build.
KVB_HOST_FLAGS="-O1 -g1"
KVB_FUZZ_FLAGS="-O1 -gline-tables-only"

kvb_build_host() {
  cmake -S "$KVB_ROOT" -B "$KVB_ROOT/build/host" -G Ninja -DKVB_SANITIZE=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$KVB_HOST_FLAGS" \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="$KVB_HOST_FLAGS" >/dev/null
  cmake --build "$KVB_ROOT/build/host" -j "$KVB_JOBS"
}

kvb_build_win() {
  cmake -S "$KVB_ROOT" -B "$KVB_ROOT/build/win" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$KVB_ROOT/cmake/toolchain-mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DKVB_HOST_BUILD_DIR="$KVB_ROOT/build/host" >/dev/null
  cmake --build "$KVB_ROOT/build/win" -j "$KVB_JOBS"
}

kvb_build_fuzz() {
  CC=clang CXX=clang++ cmake -S "$KVB_ROOT" -B "$KVB_ROOT/build/fuzz" -G Ninja \
    -DKVB_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$KVB_FUZZ_FLAGS" \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="$KVB_FUZZ_FLAGS" >/dev/null
  cmake --build "$KVB_ROOT/build/fuzz" -j "$KVB_JOBS"
}
