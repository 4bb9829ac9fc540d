# Minimal roots of Debian releases, sourced by scripts/try-on-debian.sh and scripts/prove-deb.sh.
# Each suite's root is made once by debootstrap into FLITMERE_DEBIAN_ROOTS/pristine/SUITE (default
# /var/tmp/flitmere-debian) and never entered: the scripts work in copies of it. Needs root and
# debootstrap.

roots=${FLITMERE_DEBIAN_ROOTS:-/var/tmp/flitmere-debian}

# The mirror this machine's apt already uses.
debian_mirror() {
    local mirror
    mirror=$(grep -hsE '^(URIs:|deb )' /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list /etc/apt/sources.list \
        | grep -v -- '-security' | grep -oE 'https?://[^ ]+/debian/?' | head -n1 || true)
    echo "${mirror:-http://deb.debian.org/debian}"
}

# The pristine root of a suite, made first where it is missing (a few minutes); its path on
# standard output. Usage: pristine_root SUITE LOG
pristine_root() {
    local suite=$1 log=$2 pristine="$roots/pristine/$1"
    if [ ! -x "$pristine/bin/bash" ]; then
        echo "making a minimal $suite root in $pristine" >&2
        mkdir -p "$roots/pristine"
        rm -rf "$pristine.partial"
        debootstrap --variant=minbase --include=ca-certificates,git "$suite" "$pristine.partial" "$(debian_mirror)" \
            >>"$log" 2>&1 || return 1
        mv "$pristine.partial" "$pristine"
    fi
    echo "$pristine"
}

# Mounts what programs inside the root TARGET expect (/proc, /sys, /dev, a fresh /tmp); unmount_root
# undoes it, whatever happened, so nothing stays mounted inside the root.
root_mounts=()
mount_root() {
    target=$1
    cp /etc/resolv.conf "$target/etc/resolv.conf"
    mount -t proc proc "$target/proc" && root_mounts+=("$target/proc")
    local dir
    for dir in /sys /dev /dev/pts; do
        mkdir -p "$target$dir"
        mount --bind "$dir" "$target$dir"
        root_mounts+=("$target$dir")
        # Where / is a shared mount, what is mounted below the bind would appear on the host's folder too.
        mount --make-private "$target$dir"
    done
    mount -t tmpfs tmpfs "$target/dev/shm" && root_mounts+=("$target/dev/shm")
    mount -t tmpfs tmpfs "$target/tmp" && root_mounts+=("$target/tmp")
}
unmount_root() {
    local i
    for ((i = ${#root_mounts[@]} - 1; i >= 0; i--)); do
        umount "${root_mounts[$i]}" 2>/dev/null || umount -l "${root_mounts[$i]}" || true
    done
    root_mounts=()
}

in_root() { chroot "$target" /usr/bin/env -i HOME=/root LANG=C.UTF-8 PATH=/usr/sbin:/usr/bin:/sbin:/bin "$@"; }

# apt-get update inside the mounted root, for SUITE. A frozen mirror serves Release files past their
# Valid-Until date, for this suite or for unstable, whose SFML 3 the set-up may fetch; only then, and
# only inside this root, does apt stop checking it. Usage: update_root_index SUITE LOG
update_root_index() {
    local suite=$1 log=$2 probe=/tmp/flitmere-mirror-probe mirror said
    mirror=$(debian_mirror)
    if [ ! -f "$target/etc/apt/apt.conf.d/99frozen-mirror" ]; then
        mkdir -p "$target$probe/lists/partial"
        printf 'deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] %s %s main\n' \
            "$mirror" "$suite" "$mirror" unstable >"$target$probe/sources.list"
        said=$(in_root apt-get -o Dir::Etc::SourceList=$probe/sources.list -o Dir::Etc::SourceParts=/nonexistent \
            -o Dir::State::Lists=$probe/lists update 2>&1 || true)
        echo "$said" >>"$log"
        if grep -qiE 'is expired|no longer valid' <<<"$said"; then
            echo "the mirror's Release files have expired: apt inside the root stops checking their dates" >&2
            printf 'Acquire::Check-Valid-Until "false";\nAcquire::Check-Date "false";\n' \
                >"$target/etc/apt/apt.conf.d/99frozen-mirror"
        fi
    fi
    in_root apt-get update -qq >>"$log" 2>&1
}
