#!/usr/bin/env bash
# Runs the test command (scripts/test.sh) as root in a fresh minimal Debian
# system, as a new user would from a clean checkout:
#   scripts/fresh-system.sh 12|13|testing [ARGUMENT...]    (arguments go to test.sh)
# The system is made with `debootstrap --variant=minbase` from the Debian
# mirror that this machine's apt sources name, and the committed tree (HEAD)
# is copied into it. Needs root (or sudo). Unless --quick is given, the two
# packages that the test command made are then installed one over the other
# and purged.
# The base system and the package archives are kept in a cache outside the
# clone (CORVANE_FRESH_CACHE, by default /var/cache/corvane-fresh), so that a
# later run fetches only what changed. Whatever happens, the system's mounts
# are undone and the system removed.
set -euo pipefail
cd "$(dirname "$0")/.."

release=${1:-}
case $release in
12) suite=bookworm ;;
13) suite=trixie ;;
testing) suite=testing ;; # by the suite's name, so that it follows testing
*) echo "usage: $0 12|13|testing [test.sh argument...]" >&2; exit 2 ;;
esac
shift
if [[ $(id -u) -ne 0 ]]; then
    exec sudo --preserve-env=CORVANE_TEST_TURN,CORVANE_FRESH_CACHE,FUZZ_SECONDS \
        "$PWD/scripts/fresh-system.sh" "$release" "$@"
fi
scripts/install-deps.sh debootstrap

# The first Debian mirror of the apt sources (deb822 or one-line form): an
# address ending in /debian, not the security archive nor another vendor's.
mirror=$(
    {
        sed -n 's/^URIs:[[:space:]]*//p' /etc/apt/sources.list.d/*.sources 2>/dev/null | tr ' ' '\n'
        sed -n 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]\+\).*/\2/p' \
            /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null
    } | grep -v -e security -e '^$' | grep -m1 '/debian/\?$' || true
)
[[ -n $mirror ]] || { echo "no Debian mirror in /etc/apt/sources*" >&2; exit 1; }

cache=${CORVANE_FRESH_CACHE:-/var/cache/corvane-fresh}/$suite
mkdir -p "$cache/archives/partial" "$cache/lists/partial"
base=$cache/base.tar

root=$(mktemp -d /var/tmp/corvane-$suite.XXXXXX)
cleanup() {
    local m
    # Innermost first; a lazy unmount where something still holds a mount.
    for m in $(findmnt -rn -o TARGET | grep "^$root/" | sort -r); do
        umount "$m" 2>/dev/null || umount -l "$m" || true
    done
    if findmnt -rn -o TARGET | grep -q "^$root/"; then
        echo "still mounted under $root; left in place" >&2
    else
        rm -rf --one-file-system "$root"
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

started=$SECONDS
if [[ ! -f $base ]]; then
    echo "== debootstrap --variant=minbase $suite from $mirror"
    # The packages it fetches go to the shared archive cache too.
    debootstrap --variant=minbase --cache-dir="$cache/archives" "$suite" "$root" "$mirror"
    tar -C "$root" --one-file-system --numeric-owner -cpf "$base.part" .
    mv "$base.part" "$base"
else
    echo "== $suite base system from $base"
    tar -C "$root" --numeric-owner -xpf "$base"
fi
# Its root folder open to the system's own users (mktemp made it private).
chmod 755 "$root"
echo "deb $mirror $suite main" >"$root/etc/apt/sources.list"
if [[ $suite == testing ]]; then
    # A mirror may serve testing's Release file past its Valid-Until date
    # (released suites have none): apt would refuse it.
    echo "== testing: apt accepts a Release file past its Valid-Until date"
    echo 'Acquire::Check-Valid-Until "false";' >"$root/etc/apt/apt.conf.d/99corvane-valid-until"
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"

mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mount --rbind /dev "$root/dev"
mount --make-rslave "$root/dev"
# apt in the system keeps what it downloads, package lists included, in the
# cache.
mount --bind "$cache/archives" "$root/var/cache/apt/archives"
mount --bind "$cache/lists" "$root/var/lib/apt/lists"
# The tests' turn shared with the runs beside this one (scripts/test.sh).
turn=()
if [[ -n ${CORVANE_TEST_TURN:-} ]]; then
    mkdir "$root/run/corvane-test-turn"
    mount --bind "$CORVANE_TEST_TURN" "$root/run/corvane-test-turn"
    turn=(CORVANE_TEST_TURN=/run/corvane-test-turn)
fi

# A clean checkout: what is committed, nothing else.
mkdir "$root/corvane"
# (As root through sudo, the clone is someone else's: say it is safe.)
git -c safe.directory="$PWD" archive HEAD | tar -x -C "$root/corvane"

echo "== $suite ready after $((SECONDS - started)) s; upgrading, then scripts/test.sh $*"
chroot "$root" env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    LANG=C.UTF-8 TERM="${TERM:-dumb}" DEBIAN_FRONTEND=noninteractive \
    sh -c 'apt-get update -q && apt-get upgrade -y -q --no-install-recommends' >/dev/null
test_started=$SECONDS
chroot "$root" env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    LANG=C.UTF-8 TERM="${TERM:-dumb}" FUZZ_SECONDS="${FUZZ_SECONDS:-5}" "${turn[@]}" \
    sh -c 'cd /corvane && scripts/test.sh "$@"' test.sh "$@"
tested="$(((SECONDS - test_started) / 60)) min $(((SECONDS - test_started) % 60)) s"

# The packages test.sh made (not with --quick), as a user installs them: the
# Qt 5 build, the Qt 6 build in its place, the Qt 5 build back with dpkg
# alone, then purged, leaving nothing behind.
if [[ " $* " != *" --quick "* ]]; then
    echo "== The Qt 5 and Qt 6 packages, installed one over the other and purged"
    chroot "$root" env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        LANG=C.UTF-8 COLUMNS=120 DEBIAN_FRONTEND=noninteractive sh -eu -s <<'SWAP'
cd /corvane
qt5=$(ls build-test/corvane-qt5_*.deb)
qt6=$(ls build-qt6/corvane-qt6_*.deb)
show() {
    dpkg -l 'corvane*' | grep '^[a-z][a-z] ' | grep -v '^un'
    corvane --version
}
apt-get install -y -q --no-install-recommends "./$qt5"
show
apt-get install -y -q --no-install-recommends "./$qt6"
show
dpkg -i "$qt5"
show
dpkg --purge corvane-qt5
left=$(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' 'corvane*' 2>/dev/null | grep -v '^un' || true)
[ -z "$left" ] && [ ! -e /usr/bin/corvane ] && [ ! -e /usr/share/doc/corvane-qt5 ] ||
    { echo "left after purge: $left" >&2; exit 1; }
echo "purged: no corvane package or file left"
SWAP
fi
echo "== Debian $(cat "$root/etc/debian_version"): scripts/test.sh passed in $tested" \
    "($((SECONDS - started)) s in all)"
