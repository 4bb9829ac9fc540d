#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; exits non-zero on any failure.
# Tests that open windows or load pictures need an X display: where there is none, Xvfb provides one.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/build.sh"

run_tests() { ctest --test-dir "$root/build" --output-on-failure -j2 "$@"; }
if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
    run_tests "$@"
else
    xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp" bash -c "$(declare -f run_tests); root='$root'; run_tests \"\$@\"" _ "$@"
fi
