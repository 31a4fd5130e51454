#!/usr/bin/env bash
# Installs what is missing, then:
#   1. builds as Debian builds the package, with warnings as errors, and runs
#      every test through CTest: on the offscreen platform, and the installed
#      program on X11 (Xvfb) and Wayland (headless sway and Weston); no test
#      may skip itself;
#   2. the same against Qt 6;
#   3. builds again with AddressSanitizer and UndefinedBehaviorSanitizer and
#      runs the tests of the code once more, LeakSanitizer included;
#   4. builds the libFuzzer targets with clang and runs each briefly
#      (FUZZ_SECONDS, 5 by default) from its corpus: a smoke run, as the
#      corpus is replayed by the tests anyway. scripts/fuzz.sh runs them long;
#   5. makes the Qt 5 and Qt 6 packages from the folders of steps 1 and 2:
#      each must hold the very program its tests ran, lintian must print
#      nothing on it and hardening-check must find every protection.
# With --quick only step 1 runs.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

quick=false
[[ ${1:-} == --quick ]] && quick=true
fuzz_seconds=${FUZZ_SECONDS:-5}

# The AT-SPI test needs the accessibility bus, a session bus and its Python
# client; the Wayland tests a headless sway and Weston; the start-up goals
# valgrind.
extra=(desktop-file-utils appstream sway weston qtwayland5 at-spi2-core dbus python3-pyatspi valgrind orca)
$quick || extra+=(qt6-base-dev qt6-base-dev-tools qt6-wayland clang libclang-rt-dev lintian dpkg-dev file devscripts)
# The desktop styles the form is tested in, where this release ships them.
styles=(kde-style-breeze kde-style-breeze-qt5 adwaita-qt kde-style-oxygen-qt5 qt5-style-kvantum)
$quick || styles+=(adwaita-qt6 kde-style-oxygen-qt6 qt6-style-kvantum)
for style in "${styles[@]}"; do
    candidate=$(apt-cache policy "$style" 2>/dev/null | sed -n 's/^ *Candidate: //p')
    if [[ -n $candidate && $candidate != "(none)" ]]; then
        extra+=("$style")
    fi
done
scripts/install-deps.sh "${extra[@]}"

# Runs a command in a test turn. Where several runs share the machine
# (.ci/run: this system and two fresh ones), CORVANE_TEST_TURN names a folder
# of lock files, one per turn: the tests of as many runs as there are turns
# use the processors at full priority while the others install and build,
# niced, in the time the tests leave idle (they wait for windows, buses and
# screen readers). Two turns load the machine about as much as the two busy
# loops the tests are proven beside.
with_test_turn() {
    if [[ -z ${CORVANE_TEST_TURN:-} ]]; then
        "$@"
        return
    fi
    local niced turn status
    niced=$(nice)
    ((niced > 0 && $(id -u) == 0)) || niced=0
    while :; do
        for turn in "$CORVANE_TEST_TURN"/turn-*; do
            status=0
            flock -n -E 75 "$turn" nice -n "-$niced" "$@" || status=$?
            ((status == 75)) || return "$status"
        done
        sleep 1
    done
}

# Configures, builds and tests one build folder with warnings as errors.
build_and_test() {
    local dir=$1
    shift
    echo "== Build and test: $dir $*"
    corvane_configure "$dir" -DCORVANE_WERROR=ON -DCORVANE_TESTS=ON "$@"
    corvane_build "$dir"
    # No test may skip itself here: every tool the tests need is installed.
    with_test_turn env CORVANE_REQUIRE_TOOLS=1 ctest --test-dir "$dir" --output-on-failure -j2
    builds+=("$dir")
}
builds=()

corvane_debian_options
build_and_test build-test "${debian_options[@]}"
# The start-up goals' figures, which CTest shows only when the check fails.
goals() { grep -E '^(ok|FAIL): .*fence' "$1/Testing/Temporary/LastTest.log" || true; }
goals build-test
$quick && exit 0

build_and_test build-qt6 -DCORVANE_QT_MAJOR=6 "${debian_options[@]}"
goals build-qt6
if ldd build-qt6/src/corvane | grep -q 'libQt5'; then
    echo "build-qt6/src/corvane links Qt 5" >&2
    exit 1
fi

# AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer.
build_and_test build-asan -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON

echo "== Fuzzing the input parsers, ${fuzz_seconds} s each"
scripts/fuzz.sh "$fuzz_seconds"

# lintian warns on every run as root: there it runs as nobody.
echo "== The Qt 5 and Qt 6 packages, checked by lintian and hardening-check"
as_user=()
[[ $(id -u) -eq 0 ]] && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups env HOME=/nonexistent)
# A program is marked for control flow protection only where every object
# linked into it is, the C library's start files included: those of Debian 12
# and 13 are not. There hardening-check cannot see it, and main() must begin
# with endbr64 wherever dpkg-buildflags asks for -fcf-protection (Debian 13).
cfi=()
for crt in Scrt1.o crti.o crtn.o; do
    readelf -n "$(gcc -print-file-name="$crt")" | grep -q 'x86 feature: IBT, SHSTK' || cfi=(--nocfprotection)
done
flags=$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS)
cf_flag=$(grep -o -- -fcf-protection <<<"$flags" || true)
# Branch protection (BTI, PAC) is arm64's: Debian 13's hardening-check asks
# for it on every architecture, dpkg-buildflags gives it only on arm64.
arm=()
checks=$(hardening-check --help 2>&1 || true)
[[ $flags != *-mbranch-protection* && $checks == *--nobranchprotection* ]] && arm=(--nobranchprotection)
for dir in build-test build-qt6; do
    deb=$(corvane_package "$dir")
    unpacked=$(mktemp -d)
    dpkg-deb -x "$deb" "$unpacked"
    # install_tree installed it for the tests, stripped as the package is.
    if ! cmp "$unpacked/usr/bin/corvane" "$dir/test-install/bin/corvane"; then
        echo "$deb: usr/bin/corvane is not the program the tests ran" >&2
        exit 1
    fi
    echo "$deb: usr/bin/corvane is $dir/test-install/bin/corvane, which the tests ran"
    report=$("${as_user[@]}" lintian --display-info "$deb" 2>&1) || true
    if [[ -n $report ]]; then
        echo "lintian on $deb:" >&2
        echo "$report" >&2
        exit 1
    fi
    echo "$deb: lintian prints nothing"
    report=$(hardening-check "${cfi[@]}" "${arm[@]}" "$unpacked/usr/bin/corvane" 2>&1) || true
    rm -rf "$unpacked"
    echo "$report"
    if grep -v '(ignored)$' <<<"$report" | grep -q ': no'; then
        echo "hardening-check on $deb: a protection is missing" >&2
        exit 1
    fi
    if [[ ${#cfi[@]} -gt 0 && -n $cf_flag ]]; then
        code=$(objdump -d --disassemble=main "$(dirname "$deb")/src/corvane")
        if ! grep -q endbr64 <<<"$code"; then
            echo "$deb: main() is not compiled with -fcf-protection" >&2
            exit 1
        fi
        echo "main() is compiled with -fcf-protection (endbr64)"
    fi
done

total=0
for dir in "${builds[@]}"; do
    n=$(ctest --test-dir "$dir" -N | sed -n 's/^Total Tests: //p')
    echo "$dir: $n tests passed"
    total=$((total + n))
done
echo "Fuzz runs: 2 passed"
echo "The program the tests ran: 2 packages passed"
echo "lintian: 2 packages passed"
echo "hardening-check: 2 packages passed"
echo "checks: $((total + 8)) passed, 0 failed"
