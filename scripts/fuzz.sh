#!/usr/bin/env bash
# Builds the libFuzzer targets for the two input parsers with clang and runs
# each for SECONDS (600 by default) from its corpus:
#   scripts/fuzz.sh [SECONDS]
# New inputs go to a scratch corpus. A failing input is saved under
# build-fuzz/ and becomes a file of fuzz/corpus/<target> once understood; the
# run's log stays in build-fuzz/ too.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

seconds=${1:-600}
scripts/install-deps.sh clang libclang-rt-dev

corvane_configure build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCORVANE_WERROR=ON -DCORVANE_FUZZ=ON
corvane_build build-fuzz fuzz_parse_int fuzz_parse_host

work=
trap 'rm -rf "$work"' EXIT
for target in int host; do
    echo "== fuzz_parse_$target, $seconds s"
    work=$(mktemp -d)
    log=build-fuzz/fuzz_parse_$target.log
    dict=()
    [[ -f fuzz/$target.dict ]] && dict=(-dict="fuzz/$target.dict")
    rc=0
    build-fuzz/fuzz/fuzz_parse_$target -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix=build-fuzz/ "${dict[@]}" "$work" "fuzz/corpus/$target" >"$log" 2>&1 || rc=$?
    rm -rf "$work"
    grep -E '^stat::number_of_executed_units|ERROR|SUMMARY|parseIntInRange|parseHostAddress' "$log" || true
    if [[ $rc -ne 0 ]]; then
        echo "fuzz_parse_$target found a failing input (exit $rc); log: $log"
        exit 1
    fi
done
