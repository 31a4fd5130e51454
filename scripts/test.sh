#!/usr/bin/env bash
# Installs what is missing, then:
#   1. builds with warnings as errors and runs every test through CTest on the
#      offscreen platform;
#   2. builds again with AddressSanitizer and UndefinedBehaviorSanitizer and
#      runs every test once more, LeakSanitizer included;
#   3. builds the libFuzzer targets with clang and runs each for a short,
#      bounded time (FUZZ_SECONDS, 60 by default) from its corpus.
# With --quick only step 1 runs.
set -euo pipefail
cd "$(dirname "$0")/.."

quick=false
[[ ${1:-} == --quick ]] && quick=true
fuzz_seconds=${FUZZ_SECONDS:-60}
jobs=$(nproc)

extra=(desktop-file-utils appstream)
$quick || extra+=(clang libclang-rt-14-dev)
scripts/install-deps.sh "${extra[@]}"

echo "== Build and test"
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_WERROR=ON
cmake --build build-test -j"$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build-test --output-on-failure -j2
$quick && exit 0

echo "== Sanitizers: AddressSanitizer, UndefinedBehaviorSanitizer, LeakSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCORVANE_WERROR=ON -DCORVANE_SANITIZE=ON
cmake --build build-asan -j"$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan --output-on-failure -j2

echo "== Fuzzing the input parsers, ${fuzz_seconds} s each"
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_FUZZ=ON \
    -DCORVANE_TESTS=OFF
cmake --build build-fuzz -j"$jobs" --target fuzz_parse_int fuzz_parse_host
fuzz_runs=0
for target in int host; do
    work=$(mktemp -d)
    log=$work.log
    dict=()
    [[ -f fuzz/$target.dict ]] && dict=(-dict="fuzz/$target.dict")
    # New inputs go to a scratch corpus; a failing input is saved under
    # build-fuzz/ and becomes a file of fuzz/corpus/$target once understood.
    rc=0
    build-fuzz/fuzz/fuzz_parse_$target -max_total_time="$fuzz_seconds" -print_final_stats=1 \
        -artifact_prefix=build-fuzz/ "${dict[@]}" "$work" "fuzz/corpus/$target" >"$log" 2>&1 || rc=$?
    grep -E '^stat::number_of_executed_units|ERROR|SUMMARY|parseIntInRange|parseHostAddress' "$log" || true
    rm -rf "$work" "$log"
    if [[ $rc -ne 0 ]]; then
        echo "fuzz_parse_$target found a failing input (exit $rc)"
        exit 1
    fi
    fuzz_runs=$((fuzz_runs + 1))
done

tests=$(ctest --test-dir build-test -N | sed -n 's/^Total Tests: //p')
asan_tests=$(ctest --test-dir build-asan -N | sed -n 's/^Total Tests: //p')
echo "Tests ${tests}, sanitizer tests ${asan_tests} and fuzz runs ${fuzz_runs} all passed."
echo "checks: $((tests + asan_tests + fuzz_runs)) passed, 0 failed"
