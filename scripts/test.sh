#!/usr/bin/env bash
# Installs what is missing, then:
#   1. builds with warnings as errors and runs every test through CTest on the
#      offscreen platform;
#   2. builds against Qt 6 and runs every test there too;
#   3. builds again with AddressSanitizer and UndefinedBehaviorSanitizer and
#      runs every test once more, LeakSanitizer included;
#   4. builds the libFuzzer targets with clang and runs each briefly
#      (FUZZ_SECONDS, 5 by default) from its corpus: a smoke run, as the
#      corpus is replayed by the tests anyway. scripts/fuzz.sh runs them long.
# With --quick only step 1 runs.
set -euo pipefail
cd "$(dirname "$0")/.."

quick=false
[[ ${1:-} == --quick ]] && quick=true
fuzz_seconds=${FUZZ_SECONDS:-5}
jobs=$(nproc)

# The AT-SPI test: the accessibility bus, a session bus and its Python client.
extra=(desktop-file-utils appstream at-spi2-core dbus python3-pyatspi)
$quick || extra+=(qt6-base-dev qt6-base-dev-tools clang libclang-rt-14-dev)
scripts/install-deps.sh "${extra[@]}"

# Configures, builds and tests one build folder. Every cache option is given
# (the defaults below, then the caller's), so that a folder left over from an
# earlier run cannot change what is tested.
build_and_test() {
    local dir=$1
    shift
    echo "== Build and test: $dir $*"
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_WERROR=ON \
        -DCORVANE_QT_MAJOR=5 -DCORVANE_SANITIZE=OFF -DCORVANE_FUZZ=OFF -DCORVANE_TESTS=ON "$@"
    cmake --build "$dir" -j"$jobs"
    # The X11 and AT-SPI tests may not skip themselves here: every tool they
    # need is installed.
    CORVANE_REQUIRE_X11=1 ctest --test-dir "$dir" --output-on-failure -j2
    builds+=("$dir")
}
builds=()

build_and_test build-test
$quick && exit 0

build_and_test build-qt6 -DCORVANE_QT_MAJOR=6
if ldd build-qt6/src/corvane | grep -q 'libQt5'; then
    echo "build-qt6/src/corvane links Qt 5" >&2
    exit 1
fi

# AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer.
build_and_test build-asan -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON

echo "== Fuzzing the input parsers, ${fuzz_seconds} s each"
scripts/fuzz.sh "$fuzz_seconds"

total=0
for dir in "${builds[@]}"; do
    n=$(ctest --test-dir "$dir" -N | sed -n 's/^Total Tests: //p')
    echo "$dir: $n tests passed"
    total=$((total + n))
done
echo "Fuzz runs: 2 passed"
echo "checks: $((total + 2)) passed, 0 failed"
