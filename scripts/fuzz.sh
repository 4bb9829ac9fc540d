#!/usr/bin/env bash
# Fuzzes the game's loading functions: builds the fuzz targets (fuzz/) with clang's libFuzzer,
# AddressSanitizer and UBSan in build-fuzz/, and runs each in turn for the given time, at the lowest
# CPU priority, seeded from the generated assets. Not part of the test command.
#
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]     (default 900 s each; targets: picture sound font)
#
# Each target keeps its corpus in build-fuzz/corpus/TARGET (reused by the next run) and writes what it
# finds (a crash, a hang over 10 s, an allocation over 256 MB) to build-fuzz/findings/TARGET/; a
# finding is replayed with `build-fuzz/fuzz/flitmere_fuzz_TARGET FILE`. The font target draws, so it
# runs in a virtual X server where there is no display. Exits non-zero if any target found anything.
#
# Where the system's SFML 3 cannot be linked with clang, run it in a root of Debian unstable, whose
# SFML 3 is the distribution's: bash scripts/try-on-debian.sh sid bash scripts/fuzz.sh SECONDS
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-900}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(picture sound font)
say() { echo "flitmere fuzz: $*"; }

# The game's set-up, SFML 3 and the assets the corpora start from.
bash "$root/scripts/build.sh" >/dev/null

# Debian's clang and its sanitizer and fuzzer runtimes.
if ! command -v clang++ >/dev/null; then
    say "installing clang"
    apt-get install -y -qq clang >/dev/null
fi
if [ ! -f "$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a)" ]; then
    major=$(clang++ -dumpversion | cut -d. -f1)
    say "installing clang's runtimes"
    apt-get install -y -qq libclang-rt-dev >/dev/null 2>&1 || apt-get install -y -qq "libclang-rt-$major-dev" >/dev/null
fi

build="$root/build-fuzz"
if [ ! -f "$build/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DFLITMERE_SANITIZE=ON -DFLITMERE_FUZZ=ON -DFLITMERE_TESTS=OFF >/dev/null
fi
programs=()
for target in "${targets[@]}"; do programs+=("flitmere_fuzz_$target"); done
if ! log=$(nice -n 19 cmake --build "$build" -j2 --target "${programs[@]}" 2>&1); then
    echo "$log" >&2
    say "the fuzz targets did not build with clang here; run them in a root of Debian unstable:" >&2
    say "  bash scripts/try-on-debian.sh sid bash scripts/fuzz.sh $seconds" >&2
    exit 1
fi

# Seeds: the generated pictures and sounds small enough to mutate quickly, the HUD's font, and the
# same pictures in other BMP kinds (old header, palette, 24-bit, run-length) where ImageMagick is.
assets="$root/build/assets"
seed() {
    local target=$1
    shift
    local corpus="$build/corpus/$target"
    [ -d "$corpus" ] && return 0
    mkdir -p "$corpus"
    cp "$@" "$corpus/"
    if [ "$target" = picture ] && command -v convert >/dev/null; then
        local kind
        for kind in BMP2 BMP3; do
            convert "$assets/wingUp2.bmp" -alpha off "$kind:$corpus/wingUp2-$kind.bmp"
            convert "$assets/cloud2.bmp" -type palette "$kind:$corpus/cloud2-palette-$kind.bmp"
        done
        convert "$assets/wingDown3.bmp" -type palette -compress RLE "BMP3:$corpus/wingDown3-rle.bmp"
        convert "$assets/wingDown3.bmp" -monochrome "BMP3:$corpus/wingDown3-mono.bmp"
    fi
}
seed picture "$assets"/wingUp2.bmp "$assets"/wingDown3.bmp "$assets"/cloud1.bmp "$assets"/cloud2.bmp
seed sound "$assets"/flap.wav "$assets"/squawk.wav "$assets"/score.wav
seed font "$assets"/Bicubik.OTF

# The graphics driver's one-time allocations are not the game's (see e2e/soak/graphics-driver.supp).
export LSAN_OPTIONS="suppressions=$root/e2e/soak/graphics-driver.supp"
mkdir -p "$build/tmp"
TMPDIR=$(mktemp -d "$build/tmp/run-XXXXXX")
export TMPDIR
status=0
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    findings="$build/findings/$target"
    mkdir -p "$findings"
    largest=$(find "$corpus" -type f -printf '%s\n' | sort -n | tail -n1)
    run=(nice -n 19 "$build/fuzz/flitmere_fuzz_$target" "$corpus" -max_total_time="$seconds"
        -max_len="$largest" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=256 -close_fd_mask=3
        -use_value_profile=1 -print_final_stats=1 -artifact_prefix="$findings/")
    if [ "$target" = font ] && { [ -z "${DISPLAY:-}" ] || [ -n "${CI:-}" ]; }; then
        run=(xvfb-run -a -s "-screen 0 640x480x24 -nolisten tcp -noreset" "${run[@]}")
    fi
    say "$target: fuzzing for $seconds s"
    out="$build/$target.log"
    "${run[@]}" >"$out" 2>&1 || true
    execs=$(grep -oE 'stat::number_of_executed_units: [0-9]+' "$out" | grep -oE '[0-9]+$' || echo "?")
    last=$(grep -E '^#[0-9]+' "$out" | tail -n1)
    found=$(find "$findings" -type f | wc -l)
    say "$target: $execs executions; $(grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+/[0-9a-zA-Z]+' <<<"$last" || echo "no coverage line"); $found findings; log $out"
    [ "$found" -eq 0 ] || status=1
done
rm -rf "$TMPDIR"
exit "$status"
