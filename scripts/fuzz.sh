#!/usr/bin/env bash
# Runs every fuzz target of a QUARRANT_FUZZ build, one after another.
#   scripts/fuzz.sh BUILD_DIR [SECONDS_PER_TARGET]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: scripts/fuzz.sh BUILD_DIR [SECONDS]}
seconds=${2:-600}
for binary in "$build"/bin/fuzz_*; do
    name=${binary##*/fuzz_}
    work=$(mktemp -d)
    cp -r fuzz/seeds/"$name"/. "$work"/ 2>/dev/null || true
    mkdir -p fuzz/crashes/"$name"
    echo "== $name"
    "$binary" -max_total_time="$seconds" -max_len=65536 -print_final_stats=1 \
        -artifact_prefix=fuzz/crashes/"$name"/ "$work" 2>&1 | grep -E "^(#[0-9]+ +DONE|stat::number_of_executed_units|==|SUMMARY)" || true
    rm -rf "$work"
done
