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
# Delete a suite's folder to start from nothing. Each run's log is kept beside the roots.
set -euo pipefail
# Read whole before it runs: the script may be edited while a run goes on.
{

suite=${1:?usage: try-on-debian.sh SUITE [COMMAND...]}
shift
command=${*:-bash scripts/test.sh}
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
roots=${FLITMERE_DEBIAN_ROOTS:-/var/tmp/flitmere-debian}
target="$roots/$suite"
log="$roots/$suite-$(date +%Y%m%d-%H%M%S).log"
say() { echo "try-on-debian: $*"; }
die() { echo "try-on-debian: $*" >&2; exit 1; }

[ "$(id -u)" -eq 0 ] || die "needs root (debootstrap, chroot, mounts)"
command -v debootstrap >/dev/null || die "needs debootstrap: apt-get install debootstrap"
mkdir -p "$roots"

# The mirror this machine's apt already uses.
mirror=$(grep -hsE '^(URIs:|deb )' /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list /etc/apt/sources.list \
    | grep -v -- '-security' | grep -oE 'https?://[^ ]+/debian/?' | head -n1 || true)
mirror=${mirror:-http://deb.debian.org/debian}

if [ ! -x "$target/bin/bash" ]; then
    say "making a minimal $suite root in $target"
    rm -rf "$target.partial"
    debootstrap --variant=minbase --include=ca-certificates,git "$suite" "$target.partial" "$mirror" >"$log" 2>&1 \
        || die "debootstrap failed; see $log"
    mv "$target.partial" "$target"
fi
cp /etc/resolv.conf "$target/etc/resolv.conf"

# Whatever happens, nothing stays mounted inside the root.
mounted=()
unmount_all() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount "${mounted[$i]}" 2>/dev/null || umount -l "${mounted[$i]}" || true
    done
}
trap unmount_all EXIT
bind() {
    mkdir -p "$target$1"
    mount --bind "$1" "$target$1"
    mounted+=("$target$1")
    # Where / is a shared mount, what is mounted below the bind would appear on the host's folder too.
    mount --make-private "$target$1"
}
mount -t proc proc "$target/proc" && mounted+=("$target/proc")
bind /sys
bind /dev
bind /dev/pts
mount -t tmpfs tmpfs "$target/dev/shm" && mounted+=("$target/dev/shm")
mount -t tmpfs tmpfs "$target/tmp" && mounted+=("$target/tmp")

in_root() { chroot "$target" /usr/bin/env -i HOME=/root LANG=C.UTF-8 PATH=/usr/sbin:/usr/bin:/sbin:/bin "$@"; }

# A frozen mirror serves Release files past their Valid-Until date, for this suite or for unstable,
# whose SFML 3 the set-up may fetch; only then, and only inside this root, does apt stop checking it.
mirror_has_expired() {
    local probe=/tmp/flitmere-mirror-probe
    mkdir -p "$target$probe/lists/partial"
    printf 'deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] %s %s main\n' \
        "$mirror" "$suite" "$mirror" unstable >"$target$probe/sources.list"
    local said
    said=$(in_root apt-get -o Dir::Etc::SourceList=$probe/sources.list -o Dir::Etc::SourceParts=/nonexistent \
        -o Dir::State::Lists=$probe/lists update 2>&1 || true)
    echo "$said" >>"$log"
    grep -qiE 'is expired|no longer valid' <<<"$said"
}
if [ ! -f "$target/etc/apt/apt.conf.d/99frozen-mirror" ] && mirror_has_expired; then
    say "the mirror's Release files have expired: apt inside the root stops checking their dates"
    printf 'Acquire::Check-Valid-Until "false";\nAcquire::Check-Date "false";\n' \
        >"$target/etc/apt/apt.conf.d/99frozen-mirror"
fi
in_root apt-get update -qq >>"$log" 2>&1 || die "apt-get update failed inside the root; see $log"

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
