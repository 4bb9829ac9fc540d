#!/usr/bin/env bash
# Tries the README's test command as a new user of another Debian release would: in a minimal root of
# that release, on a fresh clone of this repository's HEAD, as root. Not part of the test command: a
# run takes a quarter of an hour or more.
#
#   bash scripts/try-on-debian.sh SUITE [COMMAND...]
#
# SUITE is bookworm, trixie, sid, ...; it needs root and debootstrap. COMMAND, run in the clone, is the
# test command unless given (bash scripts/fuzz.sh 900, say, fuzzes against that release's libraries).
#
# The roots are kept under FLITMERE_DEBIAN_ROOTS (default /var/tmp/flitmere-debian), one folder per
# suite, and reused: each run starts with a fresh clone but keeps the packages installed by the last.
# Delete a suite's folder to start again from a copy of the suite's pristine root (scripts/debian-root.sh).
# Each run's log is kept beside the roots.
set -euo pipefail
# Read whole before it runs: the script may be edited while a run goes on.
{

suite=${1:?usage: try-on-debian.sh SUITE [COMMAND...]}
shift
command=${*:-bash scripts/test.sh}
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$repo/scripts/debian-root.sh"
target="$roots/$suite"
log="$roots/$suite-$(date +%Y%m%d-%H%M%S).log"
say() { echo "try-on-debian: $*"; }
die() { echo "try-on-debian: $*" >&2; exit 1; }

[ "$(id -u)" -eq 0 ] || die "needs root (debootstrap, chroot, mounts)"
command -v debootstrap >/dev/null || die "needs debootstrap: apt-get install debootstrap"
mkdir -p "$roots"

if [ ! -x "$target/bin/bash" ]; then
    pristine=$(pristine_root "$suite" "$log") || die "debootstrap failed; see $log"
    say "copying the pristine $suite root to $target"
    rm -rf "$target.partial"
    cp -a "$pristine" "$target.partial"
    mv "$target.partial" "$target"
fi

# Whatever happens, nothing stays mounted inside the root.
trap unmount_root EXIT
mount_root "$target"
update_root_index "$suite" "$log" || die "apt-get update failed inside the root; see $log"

rm -rf "$target/root/flitmere"
git clone -q --no-local "$repo" "$target/root/flitmere"
say "$suite: $(git -C "$repo" log -1 --format='%h %s'), running $command; log: $log"
start=$(date +%s)
status=0
in_root CI=true bash -c "cd /root/flitmere && $command </dev/null" >>"$log" 2>&1 || status=$?
say "$suite: $command exited $status after $(( $(date +%s) - start )) s; log: $log"
grep -E '^(flitmere (setup|test|fuzz):|[0-9]+% tests passed|The following tests FAILED)' "$log" | tail -n 20 || true
exit "$status"
}
