#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# Builds the fuzz targets (the `fuzz` preset: clang 14's libFuzzer under the address and
# undefined-behaviour sanitizers) and runs each for SECONDS (default 600) from its committed
# corpus, FUZZ_JOBS of them side by side (default: one per processor). What they add goes to a
# scratch folder, never into the corpus. A finding fails the run; its input is kept under
# build/fuzz/findings and replays with the target given that file.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
targets=(commandline kdeglobals portal sysinfo cp932)
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
findings=$PWD/build/fuzz/findings
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$findings"
for t in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "${FUZZ_JOBS:-$(nproc)}" ]; do wait -n || true; done
    mkdir "$scratch/$t"
    dict=()
    [ -f "tests/fuzz/$t.dict" ] && dict=("-dict=tests/fuzz/$t.dict")
    if "build/fuzz/tests/fuzz_$t" "${dict[@]}" -max_total_time="$seconds" -timeout=30 \
        -print_final_stats=1 -artifact_prefix="$findings/$t-" "$scratch/$t" "tests/fuzz/corpus/$t" \
        >"$scratch/$t.log" 2>&1; then echo 0; else echo $?; fi >"$scratch/$t.status" &
done
wait
failed=0
for t in "${targets[@]}"; do
    log=$scratch/$t.log
    if [ "$(cat "$scratch/$t.status")" = 0 ]; then
        # Executions, edges covered at the start and the end, and the corpus at the end.
        awk -v t="fuzz_$t" '/INITED/ { start = $4 } /DONE/ { end = $4; corpus = $8 }
            /number_of_executed_units/ { runs = $2 }
            END { printf "%s: %d runs, edges %d -> %d, corpus %s\n", t, runs, start, end, corpus }' "$log"
    else
        failed=1
        cp "$log" "$findings/$t.log"
        echo "fuzz_$t FAILED (its whole output: $findings/$t.log):"
        sed -n '/^==[0-9]*==\|^SUMMARY\|runtime error\|deadly signal\|Test unit written/p' "$log" | head -20
        input=$(sed -n 's/.*Test unit written to //p' "$log" | tail -1)
        [ -z "$input" ] || echo "  replay: build/fuzz/tests/fuzz_$t $input"
    fi
done
exit $failed
