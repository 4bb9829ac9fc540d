#!/usr/bin/env bash
# Makes every download of this commit into dist/, proves each one, and writes dist/SHA256SUMS:
#   flitmere-<version>-linux-x86_64.tar.gz       the Linux bundle (cpack), proved by the `install` tests
#   flitmere_<version>-1_amd64.deb              the Debian package (scripts/build-deb.sh, with its proof)
#   Flitmere-<version>-windows-x64.zip          the Windows zip      } scripts/build-windows.sh,
#   Flitmere-<version>-windows-x64-setup.exe    the Windows installer } proved under Wine
# Clones of one commit, in folders of any name, make the same bytes: every time written into the
# files is the commit's (SOURCE_DATE_EPOCH), no build folder's path is compiled in, and archive
# members are sorted, with their owners and modes normalised.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
say() { echo "flitmere release: $*"; }
die() { echo "flitmere release: $*" >&2; exit 1; }

SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct) || die "$root is not a clone: a release is made from a commit"
export SOURCE_DATE_EPOCH
# The modes of the files made do not depend on the caller's umask.
umask 022
[ -z "$(git -C "$root" status --porcelain --untracked-files=no)" ] \
    || say "the work tree differs from its commit: these files are not the commit's alone"
version=$(sed -nE 's/^project\(Flitmere VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")
dist="$root/dist"
rm -rf "$dist" && mkdir -p "$dist"

# Each proof is run once; a test that fails is run once more and named as flaky if it then passes.
run_proof() {
    local dir=$1
    shift
    ctest --test-dir "$dir" --output-on-failure "$@" && return 0
    local failed
    failed=$(cut -d: -f2- "$dir/Testing/Temporary/LastTestsFailed.log" | paste -sd' ')
    ctest --test-dir "$dir" --output-on-failure --rerun-failed || return 1
    say "FLAKY, passed only on a second run: $failed"
}

# --- The Linux bundle ------------------------------------------------------------------------------
# Built for installation only, in a folder of its own: a game that holds no path of the clone (the
# tests cannot run it from its build folder). The tests of build/ prove it: the installation's from
# build/ itself, the bundle's on this very file.
release_build="$root/build-release"
say "building the bundle's game in build-release/"
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$release_build" -DCMAKE_BUILD_TYPE=Release -DFLITMERE_TESTS=OFF \
    -DFLITMERE_GAME_LINKED_FOR_INSTALL=ON >/dev/null
nice -n 19 cmake --build "$release_build" -j2 -- --no-print-directory >"$release_build/build.log" 2>&1 \
    || die "building the bundle's game failed: see build-release/build.log"
packed="$release_build/packed"
rm -rf "$packed"
(cd "$release_build" && cpack -B "$packed" >/dev/null) || die "packing the Linux bundle failed"
bundle="$dist/flitmere-$version-linux-x86_64.tar.gz"
mv "$packed/${bundle##*/}" "$bundle" && rm -rf "$packed"

say "building the game and its tests in build/, and proving the installation and the bundle (label install)"
bash "$root/scripts/build.sh" >/dev/null
FLITMERE_BUNDLE="$bundle" xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp -noreset" \
    bash -c "$(declare -f run_proof say); run_proof '$root/build' -L install" \
    || die "the installation or the bundle failed its proof"

# --- The Debian package ----------------------------------------------------------------------------
# dpkg takes the time of debian/changelog's latest entry, as it does when the package is built alone.
if [ -f "$root/scripts/build-deb.sh" ]; then
    env -u SOURCE_DATE_EPOCH bash "$root/scripts/build-deb.sh"
else
    say "no scripts/build-deb.sh in this commit: no .deb"
fi

# --- The Windows zip and installer ----------------------------------------------------------------
bash "$root/scripts/build-windows.sh"

# --- Checksums -------------------------------------------------------------------------------------
(cd "$dist" && LC_ALL=C ls | grep -vx SHA256SUMS | xargs -d '\n' sha256sum -- >SHA256SUMS)
say "wrote dist/SHA256SUMS:"
sed 's/^/    /' "$dist/SHA256SUMS"
