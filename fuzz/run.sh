#!/usr/bin/env bash
# Builds the preset "fuzz" when needed and runs every fuzz target (or the ones named) for
# SECONDS each, on a copy of its seed corpus in a temporary folder, so that the corpus in the
# repository stays as it is. Prints the executions and crashes of each target and exits
# non-zero when one crashed; crashing inputs are kept in build/fuzz/crashes/<target>/.
#
#   fuzz/run.sh SECONDS [TARGET...]      e.g. fuzz/run.sh 20, fuzz/run.sh 600 ini_file
#
# ZR_FUZZ_JOBS sets how many targets run at once (the number of processors by default).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-}
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
    echo "usage: fuzz/run.sh SECONDS [TARGET...]" >&2
    exit 2
fi
shift
if [ $# -gt 0 ]; then
    targets=("$@")
else
    targets=()
    for dir in fuzz/corpus/*/; do
        targets+=("$(basename "$dir")")
    done
fi
jobs=${ZR_FUZZ_JOBS:-$(nproc)}

[ -f build/fuzz/build.ninja ] || cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

# Every run writes its files (the corpus copy, the targets' own scratch files) in memory
# when it can.
base=/dev/shm
[ -d "$base" ] && [ -w "$base" ] || base=${TMPDIR:-/tmp}
work=$(mktemp -d "$base/zr-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT

run_target() {
    local name=$1 dir=$work/$1
    mkdir -p "$dir/corpus" "$dir/tmp" "$dir/crashes"
    cp -R "fuzz/corpus/$name/." "$dir/corpus/"
    local status=0
    TMPDIR="$dir/tmp" UBSAN_OPTIONS=print_stacktrace=1 \
        "build/fuzz/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$dir/crashes/" "$dir/corpus" \
        >"$dir/log" 2>&1 || status=$?
    echo "$status" >"$dir/status"
}

for name in "${targets[@]}"; do
    if [ ! -x "build/fuzz/fuzz/fuzz_$name" ] || [ ! -d "fuzz/corpus/$name" ]; then
        echo "no fuzz target $name" >&2
        exit 2
    fi
done

echo "Running ${#targets[@]} fuzz targets for $seconds s each, $jobs at a time"
running=0
for name in "${targets[@]}"; do
    if [ "$running" -ge "$jobs" ]; then
        wait -n || true
        running=$((running - 1))
    fi
    run_target "$name" &
    running=$((running + 1))
done
wait

failed=0
printf '%-14s %12s %8s\n' target executions crashes
for name in "${targets[@]}"; do
    dir=$work/$name
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -n 1)
    crashes=$(find "$dir/crashes" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
        -o -name 'oom-*' \) | wc -l)
    status=$(cat "$dir/status")
    # A non-zero status without an input kept is a crash of libFuzzer itself.
    if [ "$status" -ne 0 ] && [ "$crashes" -eq 0 ]; then
        crashes=1
    fi
    printf '%-14s %12s %8s\n' "$name" "${executions:-?}" "$crashes"
    if [ "$crashes" -gt 0 ]; then
        failed=1
        mkdir -p "build/fuzz/crashes/$name"
        cp "$dir/crashes/"* "build/fuzz/crashes/$name/" 2>/dev/null || true
        cp "$dir/log" "build/fuzz/crashes/$name/last-run.log"
    fi
done

if [ "$failed" -ne 0 ]; then
    for name in "${targets[@]}"; do
        [ -f "build/fuzz/crashes/$name/last-run.log" ] && [ "$(cat "$work/$name/status")" -ne 0 ] ||
            continue
        echo "--- $name: crash report (build/fuzz/crashes/$name/)"
        # The broken property or the sanitizer's finding, and the frames of this project.
        grep -E -m 20 "property broken|ERROR|runtime error|SUMMARY|Test unit written| in .* $PWD/(src|fuzz)/" \
            "$work/$name/log" || tail -n 20 "$work/$name/log"
    done
    exit 1
fi
echo "No fuzz target crashed."
