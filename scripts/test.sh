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
source scripts/common.sh

quick=false
[[ ${1:-} == --quick ]] && quick=true
fuzz_seconds=${FUZZ_SECONDS:-5}

extra=(desktop-file-utils appstream)
$quick || extra+=(qt6-base-dev qt6-base-dev-tools clang libclang-rt-dev)
scripts/install-deps.sh "${extra[@]}"

# Configures, builds and tests one build folder with warnings as errors.
build_and_test() {
    local dir=$1
    shift
    echo "== Build and test: $dir $*"
    corvane_configure "$dir" -DCORVANE_WERROR=ON -DCORVANE_TESTS=ON "$@"
    corvane_build "$dir"
    # No test may skip itself here: every tool the tests need is installed.
    CORVANE_REQUIRE_TOOLS=1 ctest --test-dir "$dir" --output-on-failure -j2
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
