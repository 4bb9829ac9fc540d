#!/usr/bin/env bash
# Installs what is missing, builds the game and its benchmarks into build-bench/ (Release), checks the
# instruments, and measures the frame, the start-up and the memory, each beside its floor. Prints one
# table; the table and the programs' own output are kept in bench/out/. Takes a few minutes.
# Options go to the runner: --quick (a short smoke run), --long (100,000 drawn frames), --repetitions N,
# --assets DIR. Where there is no display, Xvfb provides one. bench/RESULTS.md says how to read it.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-bench"
out="$root/bench/out"

bash "$root/scripts/setup.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DFLITMERE_BENCHMARKS=ON -DFLITMERE_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j"$(nproc)" -- --no-print-directory | grep -vE '^\[ *[0-9]+%\]|^Consolidate compiler' || true
test "${PIPESTATUS[0]}" -eq 0

mkdir -p "$out"
: >"$out/bench.log"
measure() {
    "$build/bench/flitmere_bench_checks" --gtest_brief=1 >>"$out/bench.log" 2>&1 \
        || { echo "flitmere bench: the instruments' checks failed; see $out/bench.log" >&2; exit 1; }
    "$build/bench/flitmere_bench" --log "$out/bench.log" "$@" | tee "$out/latest.txt"
}
if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
    measure "$@"
else
    export FLITMERE_BENCH_XVFB=1
    xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp" \
        bash -c "$(declare -f measure); build='$build'; out='$out'; measure \"\$@\"" _ "$@"
fi
