#!/usr/bin/env bash
# Builds Flitmere's Debian package, dist/flitmere_VERSION_amd64.deb, checks it with lintian and proves
# it in fresh minimal roots of Debian 12, 13 and unstable (scripts/prove-deb.sh). Not part of the test
# command: the proof takes a quarter of an hour or more.
#
#   bash scripts/build-deb.sh [--no-proof | SUITE...]
#
# On Debian 12, 13 or unstable, as root (or with sudo): it installs what it needs, then builds with
# debhelper from debian/. Where the distribution has SFML 3 the package depends on its libsfml
# packages; elsewhere it is built with the profile pkg.flitmere.private-sfml against the set-up's
# private prefix and carries that prefix's runtime. The .deb depends only on the sources and on
# debian/changelog's date, not on the build folder or the time: two clones build the same bytes.
set -euo pipefail
# Read whole before it runs: the script may be edited while a run goes on.
{

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
say() { echo "flitmere deb: $*"; }
die() { echo "flitmere deb: $*" >&2; exit 1; }

suites=(bookworm trixie sid)
prove=true
if [ "${1:-}" = --no-proof ]; then prove=false
elif [ $# -gt 0 ]; then suites=("$@"); fi

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"
    elif command -v sudo >/dev/null; then sudo "$@"
    else die "installing packages needs root: run this as root or install sudo"; fi
}

# The game's own set-up: compiler, libraries, SFML 3 (the distribution's or the private prefix).
bash "$root/scripts/setup.sh"

profile=""
sfml=$(dpkg-query -W -f='${Version}' libsfml-dev 2>/dev/null || true)
if [ -z "$sfml" ] || dpkg --compare-versions "$sfml" lt 3; then
    [ -f "$root/.deps/sfml/.packages" ] || die "no SFML 3: neither the distribution's nor the set-up's private prefix"
    profile=pkg.flitmere.private-sfml
fi

# dpkg's tools and lintian, then debian/control's Build-Depends for this build (debhelper,
# build-essential...) where dpkg-checkbuilddeps finds any missing.
updated=false
apt_install() {
    if ! $updated; then
        as_root apt-get update -qq >/dev/null || die "cannot reach the Debian package registry (apt-get update failed)"
        updated=true
    fi
    as_root env DEBIAN_FRONTEND=noninteractive apt-get "$@" -y -qq --no-install-recommends >/dev/null \
        || die "apt-get $* failed"
}
missing=()
for p in dpkg-dev lintian; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] || { say "installing ${missing[*]}"; apt_install install "${missing[@]}"; }
if ! (cd "$root" && dpkg-checkbuilddeps ${profile:+-P"$profile"}) >/dev/null 2>&1; then
    say "installing the build dependencies"
    apt_install build-dep ${profile:+-P "$profile"} "$root"
fi

# The sources as checked out (with uncommitted changes, without what git ignores) are built in
# build-deb/, where dpkg-buildpackage writes its results beside them; the private prefix is copied in
# so that nothing the build reads lies outside its folder.
version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
out="$root/build-deb"
source="$out/flitmere-${version%-*}"
rm -rf "$out" && mkdir -p "$source"
git -C "$root" ls-files -z --cached --others --exclude-standard \
    | (cd "$root" && xargs -0 sh -c 'for f; do [ -e "$f" ] && printf "%s\0" "$f"; done' sh) \
    | tar -C "$root" --null -T - -cf - | tar -C "$source" -xf -
if [ -n "$profile" ]; then
    mkdir -p "$source/.deps"
    cp -a "$(readlink -f "$root/.deps/sfml")" "$source/.deps/sfml"
fi

say "building flitmere $version${profile:+ (profile $profile)}; log: build-deb/build.log"
(cd "$source" && dpkg-buildpackage -b -us -uc ${profile:+-P"$profile"} -j"$(nproc)" >"$out/build.log" 2>&1) \
    || { tail -n 30 "$out/build.log" >&2; die "dpkg-buildpackage failed; see build-deb/build.log"; }

deb="flitmere_${version}_amd64.deb"
changes="$out/flitmere_${version}_amd64.changes"
[ -f "$out/$deb" ] || die "dpkg-buildpackage wrote no $deb"

# No error, and no warning without an override in debian/ that says why.
say "lintian $deb"
# Shown with the overrides (O:), which make lintian's status fail; judged in a second run without them.
lintian --info --show-overrides "$changes" 2>&1 | grep -v '^running with root privileges' | tee "$out/lintian.log" || true
lintian --fail-on error,warning "$changes" >/dev/null 2>&1 \
    || die "lintian found errors or warnings; see build-deb/lintian.log"

mkdir -p "$root/dist"
cp "$out/$deb" "$root/dist/$deb"
say "wrote dist/$deb ($(sha256sum "$root/dist/$deb" | cut -d' ' -f1))"
dpkg-deb -f "$root/dist/$deb" Depends | sed 's/^/flitmere deb: Depends: /'

if $prove; then
    bash "$root/scripts/prove-deb.sh" "$root/dist/$deb" "${suites[@]}"
fi
exit 0
}
