#!/usr/bin/env bash
# Installs what Flitmere needs to build, play and test, and provides SFML 3.
#
# Where the distribution's own libsfml-dev is SFML 3 (Debian unstable today, the stables after 13), it
# is installed like any other package. Debian 12 ships SFML 2.5 and Debian 13 SFML 2.6: there SFML 3's
# binary packages are fetched from Debian unstable through a private apt configuration (own sources list, lists and cache, verified
# against Debian's archive keyring) and unpacked into .deps/sfml. Unstable's libraries need
# unstable's C and C++ runtimes, so those are unpacked there too and the build links the game
# against that prefix's own dynamic loader. Nothing from unstable is installed into the system.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
deps="$root/.deps"
prefix="$deps/sfml"
say() { echo "flitmere setup: $*"; }
die() { echo "flitmere setup: $*" >&2; exit 1; }

# Packages from the system's own distribution: compiler, test libraries, the libraries SFML 3 loads,
# the X server and tools the tests drive windows with, and the font the HUD uses.
system_packages=(
    cmake g++ make pkg-config git ca-certificates
    libgtest-dev libgmock-dev libbenchmark-dev libfreetype-dev
    libx11-dev # the game asks the window manager where its window fits
    libx11-6 libxrandr2 libxcursor1 libxi6 libudev1 libgl1 libgl1-mesa-dri
    libfreetype6 libharfbuzz0b libvorbis0a libvorbisfile3 libvorbisenc2 libogg0
    xvfb xauth xdotool x11-utils imagemagick fonts-league-spartan
    desktop-file-utils appstream
    pulseaudio pulseaudio-utils libxtst-dev # the sound test: a sound server to listen through, clicks sent to X
    libxdamage-dev # the pace test counts the frames the game shows
    openbox libxmu-dev # a window manager for the tests of minimising, focus and the window's place on small screens
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"
    elif command -v sudo >/dev/null; then sudo "$@"
    else die "installing packages needs root: run this as root or install sudo"; fi
}

is_installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

system_index_updated=false
install_system_packages() {
    local missing=() p
    for p in "$@"; do is_installed "$p" || missing+=("$p"); done
    [ ${#missing[@]} -eq 0 ] && return 0
    say "installing ${missing[*]}"
    if ! $system_index_updated; then
        as_root apt-get update -qq >/dev/null || die "cannot reach the Debian package registry (apt-get update failed)"
        system_index_updated=true
    fi
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null \
        || die "apt-get install ${missing[*]} failed"
}

install_system_packages "${system_packages[@]}"

# --- SFML 3 -------------------------------------------------------------------------------------

system_has_sfml3() {
    local probe="$deps/probe"
    rm -rf "$probe"
    cmake -S "$root/cmake/probe" -B "$probe" >/dev/null 2>&1
}

# The private apt configuration: it reads and writes only below .deps/apt.
apt_dir="$deps/apt"
apt_opts=()
setup_private_apt() {
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/etc"
    # Use the mirror this machine is already configured with.
    local mirror
    mirror=$(grep -hsE '^(URIs:|deb )' /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list /etc/apt/sources.list \
        | grep -v -- '-security' | grep -oE 'https?://[^ ]+/debian/?' | head -n1 || true)
    [ -n "$mirror" ] || mirror="http://deb.debian.org/debian"
    echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] ${mirror%/} unstable main" >"$apt_dir/etc/sources.list"
    apt_opts=(
        -o "Dir::Etc::SourceList=$apt_dir/etc/sources.list" -o "Dir::Etc::SourceParts=/nonexistent"
        -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
        -o "Dir::State::status=/var/lib/dpkg/status" -o "APT::Architecture=amd64"
        -o "Acquire::Languages=none" -o "APT::Sandbox::User=$(id -un)" -o "Debug::NoLocking=1"
    )
}

# The first alternative of each dependency of a package in unstable's index, without versions.
unstable_depends() {
    apt-cache "${apt_opts[@]}" show --no-all-versions "$1" | sed -n 's/^Depends: //p' | tr ',' '\n' \
        | sed -E 's/\|.*//; s/\(.*\)//; s/:any//; s/^ +//; s/ +$//' | grep -v '^$' || true
}

# The version of a package that the system's own distribution would install, or nothing.
system_candidate() { apt-cache policy "$1" 2>/dev/null | sed -n 's/^ *Candidate: //p' | grep -v '(none)' || true; }
# True when the system's own distribution offers the package.
system_offers() { [ -n "$(system_candidate "$1")" ]; }

provision_sfml() {
    say "no SFML 3 on this system: fetching Debian unstable's SFML 3 into .deps/sfml"
    setup_private_apt
    apt-get "${apt_opts[@]}" -qq update >/dev/null 2>&1 \
        || die "cannot reach Debian unstable's package index (needed for SFML 3); check the network and try again"

    # libsfml-dev names the runtime packages, whose names carry the SFML version.
    local sfml_libs
    sfml_libs=$(unstable_depends libsfml-dev | grep -E '^libsfml-(system|window|graphics|audio)[0-9.]+$' || true)
    [ "$(echo "$sfml_libs" | grep -c .)" -eq 4 ] || die "unstable's libsfml-dev does not list the four SFML 3 libraries"

    # The runtimes always come along; any other dependency Debian 12 lacks comes from unstable too.
    local take=(libsfml-dev $sfml_libs libc6 libstdc++6 libgcc-s1) from_system=() queue=($sfml_libs) seen=" " pkg dep
    while [ ${#queue[@]} -gt 0 ]; do
        pkg=${queue[0]}; queue=("${queue[@]:1}")
        for dep in $(unstable_depends "$pkg"); do
            case "$seen" in *" $dep "*) continue ;; esac
            seen="$seen$dep "
            case "$dep" in libc6|libstdc++6|libgcc-s1|libsfml-*) continue ;; esac
            if system_offers "$dep"; then from_system+=("$dep")
            else take+=("$dep"); queue+=("$dep"); fi
        done
    done
    install_system_packages "${from_system[@]}"

    local debs="$apt_dir/debs"
    rm -rf "$debs" "$prefix.partial" && mkdir -p "$debs" "$prefix.partial"
    (cd "$debs" && apt-get "${apt_opts[@]}" -qq download "${take[@]}" >/dev/null 2>&1) \
        || die "downloading ${take[*]} from Debian unstable failed"
    local deb
    for deb in "$debs"/*.deb; do dpkg-deb -x "$deb" "$prefix.partial"; done
    (cd "$debs" && ls *.deb) >"$prefix.partial/.packages"
    rm -rf "$prefix" && mv "$prefix.partial" "$prefix"
    rm -rf "$debs" "$apt_dir/cache"
    say "SFML 3 unpacked: $(grep -o 'libsfml-system[^_]*_[^_]*' "$prefix/.packages")"
}

if [ -f "$prefix/.packages" ]; then
    : # already provisioned
elif system_has_sfml3; then
    say "using the system's SFML 3"
elif [[ "$(system_candidate libsfml-dev)" =~ ^([0-9]+:)?3\. ]]; then
    install_system_packages libsfml-dev
    system_has_sfml3 || die "the distribution's libsfml-dev $(system_candidate libsfml-dev) installed, yet CMake finds no SFML 3"
    say "using the distribution's SFML 3 ($(system_candidate libsfml-dev))"
else
    provision_sfml
fi
