#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; exits non-zero on any failure.
# Tests that open windows or load pictures need an X display: where there is none, Xvfb provides one.
# Then the soak: the game built with AddressSanitizer and UBSan in build-soak/, played for minutes.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/build.sh"

# Each test runs once: a failure is a failure, named in CTest's summary.
run_tests() { ctest --test-dir "$root/build" --output-on-failure -j2 "$@"; }
status=0
if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
    run_tests "$@" || status=$?
else
    # -noreset: by default the server resets whenever its last client leaves, and drops a client that
    # connects meanwhile ("Failed to open X11 display"), as one test process starting just as another ends.
    xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp -noreset" bash -c "$(declare -f run_tests); root='$root'; run_tests \"\$@\"" _ "$@" || status=$?
fi

# The soak tests start X servers of their own; they play the game with build/'s assets.
soak="$root/build-soak"
if [ ! -f "$soak/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$soak" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFLITMERE_SANITIZE=ON \
        -DFLITMERE_E2E_ASSETS="$root/build/assets" >/dev/null
fi
if ! log=$(cmake --build "$soak" -j2 --target flitmere flitmere_soak 2>&1); then
    echo "$log" >&2
    echo "flitmere test: the sanitizer build for the soak failed" >&2
    exit 1
fi
ctest --test-dir "$soak" --output-on-failure -j2 -L soak || status=$?
exit "$status"
