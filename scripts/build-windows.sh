#!/usr/bin/env bash
# Builds Flitmere for 64-bit Windows on Debian and proves the result under Wine:
#   dist/Flitmere-<version>-windows-x64.zip, the game, its assets, a read-me and every licence;
#   dist/Flitmere-<version>-windows-x64-setup.exe, the same files in an installer made with NSIS.
#
# Debian's MinGW-w64 compiles SFML 3.1.0 with the libraries it builds in (FreeType, HarfBuzz,
# SheenBidi, Ogg, Vorbis, FLAC) once into .deps/windows/sfml, reused on later runs; then the game,
# with the assets of a native build (build-windows/native), which also runs the Wine proof.
#
# SFML's source is its 3.1.0 release, downloaded from upstream. A machine without that network
# names a local copy instead, an archive (.tar, .tar.gz, .zip) or a folder:
#   FLITMERE_SFML_SOURCE=/path/to/SFML-3.1.0.tar.gz bash scripts/build-windows.sh
# Either way the files are checked against one pin, SFML_TREE_SHA256: the SHA-256 of the list of
# every file's SHA-256 and path (`sha256sum` of each file, in C sort order, inside the top folder).
# It is the files that are pinned, not the archive's bytes: upstream's archive is `git archive` of
# the tag, gzipped by the host on request, so its compressed bytes are not promised to stay the same,
# while the files in it are the tag's (SFML has no export-subst or export-ignore attributes). The pin
# was taken from the files of tag 3.1.0, commit 8835b6b955c96fa1ad1278a8dae6f05c4143effc.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
say() { echo "flitmere windows: $*"; }
die() { echo "flitmere windows: $*" >&2; exit 1; }

SFML_VERSION=3.1.0
SFML_URL="https://github.com/SFML/SFML/archive/refs/tags/$SFML_VERSION.tar.gz"
SFML_TREE_SHA256=a8fdac2bde1d7dc1d73fbd6c75080e3b74f8c0ba5df8915b027f0367d621ea41

jobs=2
work="$root/.deps/windows"
toolchain="$root/cmake/windows/mingw-w64-x86_64.cmake"
native="$root/build-windows/native"
cross="$root/build-windows/game"

bash "$root/scripts/setup.sh" windows
cmake=cmake
[ -x "$root/.deps/cmake/usr/bin/cmake" ] && cmake="$root/.deps/cmake/usr/bin/cmake"
build() { nice -n 19 "$1" --build "$2" -j"$jobs" "${@:3}" -- --no-print-directory; }

# --- SFML's source -------------------------------------------------------------------------------

# A checkout's .git folder is no part of the files.
tree_sha256() {
    (cd "$1" && find . -path ./.git -prune -o -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum) | sha256sum | cut -d' ' -f1
}

# Unpacks an archive into a folder, without its one top folder.
unpack() {
    local archive=$1 into=$2 top
    rm -rf "$into.partial" && mkdir -p "$into.partial"
    (cd "$into.partial" && "$cmake" -E tar xf "$archive") || die "cannot unpack $archive"
    top=$(find "$into.partial" -mindepth 1 -maxdepth 1)
    [ "$(echo "$top" | wc -l)" -eq 1 ] && [ -d "$top" ] || die "$archive does not hold one top folder"
    rm -rf "$into" && mv "$top" "$into" && rmdir "$into.partial"
}

sfml_src="$work/sfml-src"
if [ "$(cat "$sfml_src/.flitmere-pin" 2>/dev/null)" != "$SFML_TREE_SHA256" ]; then
    given=${FLITMERE_SFML_SOURCE:-}
    if [ -z "$given" ]; then
        say "downloading SFML $SFML_VERSION from $SFML_URL"
        mkdir -p "$work"
        curl -fsSL --retry 2 -o "$work/sfml.tar.gz" "$SFML_URL" \
            || die "cannot download SFML $SFML_VERSION; without that network, name a local copy in FLITMERE_SFML_SOURCE"
        given="$work/sfml.tar.gz"
    fi
    if [ -d "$given" ]; then
        rm -rf "$sfml_src" && cp -r "$given" "$sfml_src" && rm -rf "$sfml_src/.git"
    else
        unpack "$(readlink -f "$given")" "$sfml_src"
    fi
    rm -f "$work/sfml.tar.gz"
    found=$(tree_sha256 "$sfml_src")
    if [ "$found" != "$SFML_TREE_SHA256" ]; then
        rm -rf "$sfml_src"
        die "${FLITMERE_SFML_SOURCE:-$SFML_URL} is not SFML $SFML_VERSION as pinned: its files' SHA-256 is $found"
    fi
    echo "$SFML_TREE_SHA256" >"$sfml_src/.flitmere-pin"
    say "SFML $SFML_VERSION's source verified"
fi

# --- SFML and its libraries, built once ----------------------------------------------------------

# SFML fetches each library into <base>/<name>-src and patches it; given the folder, it does neither,
# so they are unpacked there and SFML's own patch scripts run on them. Its unity-build exclusions
# name files by those paths.
deps="$work/deps"
sfml="$work/sfml"
# Each library's patch script in SFML's source.
declare -A patch_scripts=([freetype]=PatchFreetype [harfbuzz]=PatchHarfBuzz [sheenbidi]=PatchSheenBidi
    [ogg]=PatchOgg [vorbis]=PatchVorbis [flac]=PatchFLAC)
stamp="$SFML_TREE_SHA256 $(cd "$work/sources" && ls | sort | paste -sd' ')"
if [ "$(cat "$sfml/.flitmere-stamp" 2>/dev/null)" != "$stamp" ]; then
    say "building SFML $SFML_VERSION and its libraries for Windows (a few minutes, once)"
    rm -rf "$deps" "$sfml" "$work/sfml-build"
    fetch_options=()
    for name in "${!patch_scripts[@]}"; do
        unpack "$(ls "$work/sources/"*"${name}"_*.orig.tar.*)" "$deps/$name-src"
        "$cmake" "-D${name^^}_DIR=$deps/$name-src" -P "$sfml_src/tools/$name/${patch_scripts[$name]}.cmake"
        fetch_options+=("-DFETCHCONTENT_SOURCE_DIR_${name^^}=$deps/$name-src")
    done
    "$cmake" -S "$sfml_src" -B "$work/sfml-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$sfml" -DBUILD_SHARED_LIBS=OFF -DSFML_BUILD_NETWORK=OFF -DSFML_USE_SYSTEM_DEPS=OFF \
        -DSFML_USE_STATIC_STD_LIBS=ON -DSFML_GENERATE_PDB=OFF -DFETCHCONTENT_FULLY_DISCONNECTED=ON \
        -DFETCHCONTENT_BASE_DIR="$deps" "${fetch_options[@]}" >"$work/sfml-configure.log" 2>&1 \
        || die "configuring SFML failed: see $work/sfml-configure.log"
    build "$cmake" "$work/sfml-build" --target install >"$work/sfml-build.log" 2>&1 || die "building SFML failed: see $work/sfml-build.log"
    echo "$stamp" >"$sfml/.flitmere-stamp"
    rm -rf "$work/sfml-build"
fi

# --- The game -----------------------------------------------------------------------------------

# The assets are made by a native build, which also runs the Wine proof.
version=$(sed -nE 's/^project\(Flitmere VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")
zip_name="Flitmere-$version-windows-x64.zip"
zip="$root/dist/$zip_name"
installer_name="Flitmere-$version-windows-x64-setup.exe"
installer="$root/dist/$installer_name"
say "building the assets and the Wine proof natively in build-windows/native"
cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFLITMERE_WINDOWS_ZIP="$zip" \
    -DFLITMERE_WINDOWS_INSTALLER="$installer" >/dev/null
build cmake "$native" --target assets icons flitmere_windows_proof >"$native/build.log" 2>&1 \
    || die "the native build failed: see build-windows/native/build.log"

say "building flitmere.exe in build-windows/game"
"$cmake" -S "$root" -B "$cross" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DFLITMERE_GAME_ONLY=ON -DSFML_DIR="$sfml/lib/cmake/SFML" -DFLITMERE_WINDOWS_ASSETS="$native/assets" \
    -DFLITMERE_WINDOWS_ICONS="$native/icons" -DFLITMERE_WINDOWS_SOURCES="$work" >/dev/null
build "$cmake" "$cross"

packed="$root/build-windows/packed"
rm -rf "$packed" && mkdir -p "$root/dist"
(cd "$cross" && "${cmake%cmake}cpack" -B "$packed" >/dev/null) || die "packing the zip failed"
mv "$packed/$zip_name" "$zip" && rm -rf "$packed"
say "wrote dist/$zip_name ($(du -k "$zip" | cut -f1) KiB)"

# The installer holds the zip's own files, unzipped.
unzipped="$root/build-windows/setup"
rm -rf "$unzipped" && mkdir -p "$unzipped"
(cd "$unzipped" && "$cmake" -E tar xf "$zip")
makensis -V2 -DVERSION="$version" -DFILES="$unzipped/${zip_name%.zip}" -DOUTFILE="$installer" \
    -DICON="$cross/packaging/windows/flitmere.ico" "$root/packaging/windows/flitmere.nsi" >"$unzipped/makensis.log" 2>&1 \
    || die "making the installer failed: see build-windows/setup/makensis.log"
say "wrote dist/$installer_name ($(du -k "$installer" | cut -f1) KiB)"

# --- The proof under Wine -----------------------------------------------------------------------
say "playing the unzipped and the installed game under Wine"
# Its pace is timed: a test that fails is run once more, and named as flaky if it then passes.
if ! ctest --test-dir "$native" -L windows --output-on-failure; then
    failed=$(cut -d: -f2- "$native/Testing/Temporary/LastTestsFailed.log" | paste -sd' ')
    ctest --test-dir "$native" --rerun-failed --output-on-failure || die "the game failed its proof under Wine"
    say "FLAKY, passed only on a second run: $failed"
fi
say "dist/$zip_name and dist/$installer_name play under Wine"
