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

# A private X server where there is no display: the first free display number from 100 on, taken
# through the X lock files as xvfb-run does (Xvfb refuses a number whose lock exists), and used once
# Xvfb says, through -displayfd, that it accepts connections; -noreset as in scripts/test.sh.
xvfb_pid=""
display_file=""
stop_xvfb() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -f "$display_file"
}
start_xvfb() {
    local number
    display_file=$(mktemp)
    trap stop_xvfb EXIT
    for number in $(seq 100 199); do
        [ -e "/tmp/.X$number-lock" ] && continue
        : >"$display_file"
        Xvfb ":$number" -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp -noreset 3>"$display_file" 2>>"$out/bench.log" &
        xvfb_pid=$!
        for _ in $(seq 100); do
            if [ -s "$display_file" ]; then
                export DISPLAY=":$number" FLITMERE_BENCH_XVFB=1
                return 0
            fi
            kill -0 "$xvfb_pid" 2>/dev/null || break
            sleep 0.1
        done
        stop_xvfb
        xvfb_pid=""
    done
    echo "flitmere bench: no Xvfb display could be started; see $out/bench.log" >&2
    exit 1
}
if [ -z "${DISPLAY:-}" ] || [ -n "${CI:-}" ]; then
    start_xvfb
fi

"$build/bench/flitmere_bench_checks" --gtest_brief=1 >>"$out/bench.log" 2>&1 \
    || { echo "flitmere bench: the instruments' checks failed; see $out/bench.log" >&2; exit 1; }
"$build/bench/flitmere_bench" --log "$out/bench.log" "$@" | tee "$out/latest.txt"
