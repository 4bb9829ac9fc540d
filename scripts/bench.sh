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

# A private X server where there is no display. Xvfb picks a free display number itself and writes it
# once it accepts connections, so runs started side by side do not race for the same number.
if [ -z "${DISPLAY:-}" ] || [ -n "${CI:-}" ]; then
    display_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$display_file" 2>>"$out/bench.log" &
    xvfb_pid=$!
    trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; rm -f "$display_file"' EXIT
    for _ in $(seq 100); do
        [ -s "$display_file" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || { echo "flitmere bench: Xvfb did not start; see $out/bench.log" >&2; exit 1; }
        sleep 0.1
    done
    [ -s "$display_file" ] || { echo "flitmere bench: Xvfb did not start in 10 s" >&2; exit 1; }
    export DISPLAY=":$(head -n1 "$display_file")" FLITMERE_BENCH_XVFB=1
fi

"$build/bench/flitmere_bench_checks" --gtest_brief=1 >>"$out/bench.log" 2>&1 \
    || { echo "flitmere bench: the instruments' checks failed; see $out/bench.log" >&2; exit 1; }
"$build/bench/flitmere_bench" --log "$out/bench.log" "$@" | tee "$out/latest.txt"
