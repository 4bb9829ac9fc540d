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

# The Debian mirror this machine is already configured with.
debian_mirror() {
    local mirror
    mirror=$(grep -hsE '^(URIs:|deb )' /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list /etc/apt/sources.list \
        | grep -v -- '-security' | grep -oE 'https?://[^ ]+/debian/?' | head -n1 || true)
    [ -n "$mirror" ] || mirror="http://deb.debian.org/debian"
    echo "${mirror%/}"
}

# A private apt configuration for one suite (unstable unless named): it reads and writes only below
# .deps/apt (.deps/apt-SUITE for another suite).
apt_dir="$deps/apt"
apt_opts=()
setup_private_apt() {
    local suite=${1:-unstable}
    [ "$suite" = unstable ] || apt_dir="$deps/apt-$suite"
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/etc"
    echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $(debian_mirror) $suite main" >"$apt_dir/etc/sources.list"
    apt_opts=(
        -o "Dir::Etc::SourceList=$apt_dir/etc/sources.list" -o "Dir::Etc::SourceParts=/nonexistent"
        -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
        -o "Dir::State::status=/var/lib/dpkg/status" -o "APT::Architecture=amd64"
        -o "Acquire::Languages=none" -o "APT::Sandbox::User=$(id -un)" -o "Debug::NoLocking=1"
    )
}

# The first alternative of each dependency of a package in the private index, without versions.
private_depends() {
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
    sfml_libs=$(private_depends libsfml-dev | grep -E '^libsfml-(system|window|graphics|audio)[0-9.]+$' || true)
    [ "$(echo "$sfml_libs" | grep -c .)" -eq 4 ] || die "unstable's libsfml-dev does not list the four SFML 3 libraries"

    # The runtimes always come along; any other dependency Debian 12 lacks comes from unstable too, so
    # the runtimes' own (gcc-N-base, which holds the C++ runtime's copyright file).
    local runtimes=(libc6 libstdc++6 libgcc-s1)
    local take=(libsfml-dev $sfml_libs "${runtimes[@]}") from_system=() queue=($sfml_libs "${runtimes[@]}") seen=" " pkg dep
    while [ ${#queue[@]} -gt 0 ]; do
        pkg=${queue[0]}; queue=("${queue[@]:1}")
        for dep in $(private_depends "$pkg"); do
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

# Provisioned, with the copyright file of every package (a prefix made before the runtimes' own
# packages came along lacks the C++ runtime's, and is made again).
prefix_complete() {
    [ -f "$prefix/.packages" ] || return 1
    local doc
    for doc in "$prefix"/usr/share/doc/*; do [ -f "$doc/copyright" ] || return 1; done
}

if prefix_complete; then
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

# --- The Windows build (bash scripts/setup.sh windows, run by scripts/build-windows.sh) ----------
[ "${1:-}" = windows ] || exit 0

# Debian's MinGW-w64 cross compiler (with POSIX threads, which std::thread needs), NSIS for the
# installer, and Wine to try the result.
install_system_packages g++-mingw-w64-x86-64-posix nsis wine wine64

# SFML 3.1 needs CMake 3.28 or newer. Where the system's is older (Debian 12: 3.25), the release's
# backports' CMake is unpacked into .deps/cmake, as SFML 3 is into .deps/sfml: the system's stays.
cmake_needed=3.28
cmake_version() { "$1" --version | sed -n '1s/^cmake version //p'; }
version_at_least() { [ "$(printf '%s\n%s\n' "$1" "$2" | sort -V | head -n1)" = "$2" ]; }
provide_cmake() {
    version_at_least "$(cmake_version cmake)" $cmake_needed && return 0
    local private="$deps/cmake"
    [ -x "$private/usr/bin/cmake" ] && version_at_least "$(cmake_version "$private/usr/bin/cmake")" $cmake_needed && return 0
    local codename suite
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    suite="$codename-backports"
    say "CMake $(cmake_version cmake) is older than $cmake_needed: fetching $suite's CMake into .deps/cmake"
    setup_private_apt "$suite"
    apt-get "${apt_opts[@]}" -qq update >/dev/null 2>&1 || die "cannot reach Debian's $suite package index (needed for CMake $cmake_needed)"
    local candidate
    candidate=$(apt-cache "${apt_opts[@]}" show --no-all-versions cmake 2>/dev/null | sed -n 's/^Version: //p')
    version_at_least "${candidate:-0}" $cmake_needed || die "$suite offers no CMake $cmake_needed or newer"
    local libraries=() dep
    for dep in $(private_depends cmake); do
        case "$dep" in cmake-data) ;; *) libraries+=("$dep") ;; esac
    done
    install_system_packages "${libraries[@]}"
    local debs="$apt_dir/debs"
    rm -rf "$debs" "$private.partial" && mkdir -p "$debs" "$private.partial"
    (cd "$debs" && apt-get "${apt_opts[@]}" -qq download cmake cmake-data >/dev/null 2>&1) || die "downloading CMake from $suite failed"
    for deb in "$debs"/*.deb; do dpkg-deb -x "$deb" "$private.partial"; done
    rm -rf "$private" && mv "$private.partial" "$private"
    rm -rf "$debs" "$apt_dir/cache"
    say "CMake $(cmake_version "$private/usr/bin/cmake") unpacked into .deps/cmake"
}
provide_cmake

# The libraries SFML 3.1 builds into a Windows program, as upstream released them: the original
# tarballs of Debian's source packages, at the versions SFML 3.1.0 names where Debian has them
# (HarfBuzz: Debian's newest, 12.3.2, for SFML's 14.1.0). Each is pinned by its SHA-256, which
# apt's helper checks as it downloads; a copy kept from an earlier run is checked again.
windows_sources=(
    "f/freetype/freetype_2.14.3+dfsg.orig.tar.xz dc1bec263a6fffa436029efe6428f601d6b1a0b800837508ee3e49bbab8f1006"
    "h/harfbuzz/harfbuzz_12.3.2.orig.tar.xz 6f6db164359a2da5a84ef826615b448b33e6306067ad829d85d5b0bf936f1bb8"
    "s/sheenbidi/sheenbidi_3.0.0.orig.tar.xz c009ee6153991998f4fa42af7ca3b1494cb716522d85cf8ebd7b869f6a459301"
    "libo/libogg/libogg_1.3.6.orig.tar.xz 5c8253428e181840cd20d41f3ca16557a9cc04bad4a3d04cce84808677fa1061"
    "libv/libvorbis/libvorbis_1.3.7.orig.tar.gz 0e982409a9c3fc82ee06e08205b1355e5c6aa4c36bca58146ef399621b0ce5ab"
    "f/flac/flac_1.5.0+ds.orig.tar.xz 51d6a5bf5a37b67f9af847daa07c07091f6bf1583d5abb7fbb064bc68428b0f1"
)
sources="$deps/windows/sources"
mkdir -p "$sources"
for entry in "${windows_sources[@]}"; do
    read -r path sha256 <<<"$entry"
    file="$sources/${path##*/}"
    if [ -f "$file" ] && echo "$sha256  $file" | sha256sum --check --status; then continue; fi
    rm -f "$file"
    say "fetching ${path##*/} from Debian's source archive"
    /usr/lib/apt/apt-helper download-file "$(debian_mirror)/pool/main/$path" "$file" "SHA256:$sha256" >/dev/null 2>&1 \
        || { rm -f "$file"; die "fetching ${path##*/} from Debian's source archive failed, or it is not the one pinned"; }
done
