#!/usr/bin/env bash
# Proves Flitmere's Debian package as a player of each release would meet it: in a fresh copy of a
# minimal root of the suite (scripts/debian-root.sh), removed afterwards, apt installs the .deb with
# its dependencies; a player's `flitmere`, started from / on a private X server with a window manager,
# opens the 1200x800 "Flitmere!" window and ends with status 0 when it is closed; a missing asset and
# a missing display end it with their line and status 1; the menu entry and the metainfo pass their
# validators; `man flitmere` shows the manual page; and `apt-get purge` leaves none of the package's
# files and nothing under /usr/local. Run by scripts/build-deb.sh after building.
#
#   bash scripts/prove-deb.sh DEB [SUITE...]        (default suites: bookworm trixie sid)
#
# Each suite's log is kept beside the roots.
set -euo pipefail
{

say() { echo "flitmere proof: $*"; }
die() { echo "flitmere proof: $*" >&2; exit 1; }

# --- Inside the root: the proof itself, as root of that system ------------------------------------
if [ "${1:-}" = --inside ]; then
    deb=$2
    export DEBIAN_FRONTEND=noninteractive
    step() { echo "== $*"; }
    fail() { echo "FAILED: $*"; exit 1; }
    # As a player: a login shell, whose PATH is the system's for users.
    as_player() { runuser -l player -c "$1"; }

    find /usr/local | sort >/tmp/local.before
    useradd -m player

    step "apt-get install $deb"
    apt-get install -y --no-install-recommends "$deb"
    dpkg-query -W -f='${Package} ${Version} ${Status}\nDepends: ${Depends}\n' flitmere
    files=$(dpkg -L flitmere)
    [ "$(find /usr/local | sort)" = "$(cat /tmp/local.before)" ] || fail "installing put files under /usr/local"
    [ "$(as_player 'command -v flitmere')" = /usr/games/flitmere ] || fail "flitmere is not on a player's PATH"

    # Before anything else is installed: the game finds every library it loads, and without a display
    # says so and ends with 1 (a missing library would end it with the loader's 127).
    step "flitmere without a display"
    status=0
    said=$(as_player 'cd / && flitmere' 2>/tmp/game.err) || status=$?
    echo "\"$said\" (status $status); standard error: \"$(cat /tmp/game.err)\""
    [ "$status" -eq 1 ] && [ "$said" = "Error: unable to open a window: no display (DISPLAY is not set)" ] \
        || fail "without a display: status $status, \"$said\""

    step "the proof's tools"
    apt-get install -y -qq --no-install-recommends xvfb openbox x11-utils xdotool wmctrl \
        desktop-file-utils appstream man-db >/dev/null
    # What the tools' own packages put under /usr/local (the game puts nothing there).
    find /usr/local | sort >/tmp/local.tools
    # The server picks a free display: X's abstract sockets are shared with every other root and the
    # host, where another proof or test may hold any fixed number.
    Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp -ac 3>/tmp/display >/tmp/xvfb.log 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do [ -s /tmp/display ] && break; sleep 0.1; done
    [ -s /tmp/display ] || fail "Xvfb did not start"
    export DISPLAY=":$(cat /tmp/display)"
    openbox >/tmp/openbox.log 2>&1 &
    openbox=$!
    sleep 1

    step "flitmere from /"
    # Standard error may carry the libraries' notes (no sound server here, no vertical sync in Xvfb).
    as_player "cd / && DISPLAY=$DISPLAY exec flitmere" >/tmp/game.out 2>/tmp/game.err &
    game=$!
    window=""
    for _ in $(seq 60); do
        window=$(xdotool search --onlyvisible --name '^Flitmere!$' 2>/dev/null | head -n1 || true)
        [ -n "$window" ] && break
        kill -0 "$game" 2>/dev/null || break
        sleep 1
    done
    [ -n "$window" ] || fail "no \"Flitmere!\" window; the game said: $(cat /tmp/game.out /tmp/game.err)"
    size=$(xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
    echo "window $window: \"$(xdotool getwindowname "$window")\", $size"
    [ "$size" = 1200x800 ] || fail "the window is $size, not 1200x800"
    sleep 3
    kill -0 "$game" 2>/dev/null || fail "the game ended by itself: $(cat /tmp/game.out /tmp/game.err)"
    # Closed through the window manager, as its close button does.
    wmctrl -i -c "$window"
    status=0
    timeout 20 tail --pid="$game" -f /dev/null || fail "the game did not end when its window was closed"
    wait "$game" || status=$?
    echo "closed: status $status; standard output: \"$(cat /tmp/game.out)\"; standard error: \"$(cat /tmp/game.err)\""
    [ "$status" -eq 0 ] || fail "closing the window ended the game with $status"
    [ ! -s /tmp/game.out ] || fail "the game wrote to its standard output while playing"

    step "flitmere with wingUp2.bmp missing"
    mv /usr/share/flitmere/wingUp2.bmp /tmp/wingUp2.bmp
    status=0
    said=$(as_player "cd / && DISPLAY=$DISPLAY flitmere" 2>/dev/null) || status=$?
    mv /tmp/wingUp2.bmp /usr/share/flitmere/wingUp2.bmp
    echo "\"$said\" (status $status)"
    [ "$status" -eq 1 ] && [ "$said" = "Error: unable to load wingUpTexture from file" ] || fail "a missing asset"

    step "validators"
    desktop-file-validate /usr/share/applications/*flitmere*.desktop || fail "desktop-file-validate"
    # AppStream 1.x's validator warns that no homepage is named (the project has none) and exits 3;
    # that warning alone is accepted, as in the install test.
    status=0
    said=$(appstreamcli validate --no-net /usr/share/metainfo/*flitmere*.metainfo.xml 2>&1) || status=$?
    echo "$said"
    others=$(grep -E '^\s*[WE]: ' <<<"$said" | grep -vE '^\s*W: [^ ]+ url-homepage-missing( |$)' || true)
    [ -z "$others" ] || fail "appstreamcli: $others"
    [ "$status" -eq 0 ] || { [ "$status" -eq 3 ] && grep -q url-homepage-missing <<<"$said"; } \
        || fail "appstreamcli validate exited $status"

    step "man flitmere"
    page=$(as_player 'MANPAGER=cat MANWIDTH=80 man flitmere' 2>&1)
    head -n 4 <<<"$page"
    grep -q 'flitmere - arcade game' <<<"$page" && grep -q 'EXIT STATUS' <<<"$page" || fail "man flitmere"

    kill "$openbox" "$xvfb" 2>/dev/null || true
    wait "$openbox" "$xvfb" 2>/dev/null || true

    step "apt-get purge flitmere"
    apt-get purge -y flitmere
    apt-get autoremove --purge -y
    ! dpkg-query -W -f='${Status}\n' flitmere 2>/dev/null | grep -q installed || fail "flitmere is still installed"
    left=$(while read -r file; do
        [ -e "$file" ] && [ ! -d "$file" ] && echo "$file"
    done <<<"$files"; find / -xdev -path '*flitmere*' -not -path '/tmp/*' 2>/dev/null || true)
    [ -z "$left" ] || fail "left after purge: $left"
    find /usr/local | sort >/tmp/local.after
    added=$(sort -u /tmp/local.before /tmp/local.tools | comm -13 - /tmp/local.after)
    gone=$(comm -23 /tmp/local.before /tmp/local.after)
    [ -z "$added$gone" ] || fail "/usr/local changed: added $added; removed $gone"
    echo "PROVEN"
    exit 0
fi

# --- On the host: one fresh root per suite --------------------------------------------------------
deb=${1:?usage: prove-deb.sh DEB [SUITE...]}
shift
suites=("$@")
[ ${#suites[@]} -gt 0 ] || suites=(bookworm trixie sid)
[ -f "$deb" ] || die "no package $deb"
[ "$(id -u)" -eq 0 ] || die "needs root (debootstrap, chroot, mounts)"
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/debian-root.sh"
if ! command -v debootstrap >/dev/null; then
    say "installing debootstrap"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null \
        || die "apt-get install debootstrap failed"
fi
mkdir -p "$roots"

failed=()
for suite in "${suites[@]}"; do
    log="$roots/prove-$suite-$(date +%Y%m%d-%H%M%S).$$.log"
    start=$(date +%s)
    pristine=$(pristine_root "$suite" "$log") || die "debootstrap failed; see $log"
    # A fresh copy each time, removed afterwards, whatever happens.
    target="$roots/prove-$suite.$$"
    trap 'unmount_root; rm -rf "$target"' EXIT
    cp -a "$pristine" "$target"
    mount_root "$target"
    status=0
    if update_root_index "$suite" "$log"; then
        cp "$deb" "$target/tmp/${deb##*/}"
        cp "$here/prove-deb.sh" "$target/tmp/prove-deb.sh"
        in_root bash /tmp/prove-deb.sh --inside "/tmp/${deb##*/}" >>"$log" 2>&1 || status=$?
    else
        echo "apt-get update failed inside the root" >>"$log"
        status=1
    fi
    unmount_root
    rm -rf "$target"
    trap - EXIT
    if [ "$status" -eq 0 ]; then
        say "$suite: proven in $(( $(date +%s) - start )) s; log: $log"
    else
        say "$suite: FAILED ($(grep -m1 '^FAILED' "$log" || echo "status $status")); log: $log"
        failed+=("$suite")
    fi
done
[ ${#failed[@]} -eq 0 ] || die "not proven on ${failed[*]}"
exit 0
}
