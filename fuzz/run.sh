#!/bin/sh
# Runs every fuzzing harness of a build made from fuzz/CMakeLists.txt.
#   fuzz/run.sh BUILD_DIR 0         each harness over its corpus only, once (CI)
#   fuzz/run.sh BUILD_DIR SECONDS   each harness fuzzed for SECONDS
# The seeds under fuzz/corpus/<harness>/ are only read; inputs the fuzzer
# finds go to BUILD_DIR/corpus-work/<harness>/, crashing inputs to
# BUILD_DIR/findings/<harness>/. Stops at the first harness that fails.
set -e
build=${1:?usage: fuzz/run.sh BUILD_DIR SECONDS}
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
list="$build/harnesses.txt"
[ -f "$list" ] || { echo "fuzz/run.sh: $list missing: build the harnesses first" >&2; exit 1; }
# A hang is any single input taking more than 10 s; memory beyond 2 GB is a finding too.
common="-timeout=10 -rss_limit_mb=2048 -max_len=16384 -print_final_stats=1"
for h in $(cat "$list"); do
    bin="$build/fuzz_$h"
    seeds="$here/corpus/$h"
    if [ "$seconds" = 0 ]; then
        log="$build/corpus-$h.log"
        if ! "$bin" $common -runs=0 "$seeds" >"$log" 2>&1; then
            cat "$log" >&2
            echo "fuzz/run.sh: $h failed on its corpus" >&2
            exit 1
        fi
        echo "$h: $(ls "$seeds" | wc -l) seeds run clean"
    else
        work="$build/corpus-work/$h"
        findings="$build/findings/$h"
        mkdir -p "$work" "$findings"
        echo "== $h: fuzzing for $seconds s"
        "$bin" $common -max_total_time="$seconds" -artifact_prefix="$findings/" "$work" "$seeds" 2>&1 |
            grep -E "^Done|stat::number_of_executed_units|stat::peak_rss_mb|ERROR|SUMMARY|Test unit written" || true
        if [ -n "$(ls -A "$findings")" ]; then
            echo "fuzz/run.sh: $h found inputs in $findings" >&2
            exit 1
        fi
    fi
done
