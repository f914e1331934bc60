#!/usr/bin/env bash
# Builds the parsers' libFuzzer targets with clang in build-fuzz/ and runs each
# from its seed corpus (tests/fuzz/corpus/<name>/) for a while under
# AddressSanitizer and UBSan. Fails when any target crashes; the input that did
# it is kept in build-fuzz/crashes/ (replay it with build-fuzz/tests/fuzz/fuzz_<name> FILE).
#   bash scripts/fuzz.sh [SECONDS [NAME...]]   30 seconds each, every target by default
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-30}"
[ $# -gt 0 ] && shift
dir="$root/build-fuzz"

"$root/scripts/install-deps.sh" fuzz
CXX=clang++-14 cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVENTACALC_FUZZ=ON \
    -DVENTACALC_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" -j"$(nproc)" --target fuzz_targets

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    for corpus in "$root"/tests/fuzz/corpus/*/; do
        names+=("$(basename "$corpus")")
    done
fi

export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="suppressions=$root/tests/sanitizers/ubsan.supp:halt_on_error=1:print_stacktrace=1"
mkdir -p "$dir/crashes" "$dir/fuzz-logs"
summary=()
passed=0
failed=0
for name in "${names[@]}"; do
    # libFuzzer adds the inputs it finds to its first folder: a scratch one,
    # so the committed seeds stay as they are.
    found="$(mktemp -d)"
    log="$dir/fuzz-logs/$name.log"
    echo "== fuzz_$name: ${seconds} s"
    status=0
    "$dir/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$dir/crashes/$name-" \
        "$found" "$root/tests/fuzz/corpus/$name" >"$log" 2>&1 || status=$?
    rm -rf "$found"
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
    rate="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")"
    if [ "$status" -ne 0 ]; then
        failed=$((failed + 1))
        tail -n 60 "$log"
        summary+=("fuzz_$name: FAILED (status $status), see $log")
    else
        passed=$((passed + 1))
        summary+=("fuzz_$name: ${runs:-?} runs, ${rate:-?} runs/s")
    fi
done

printf '%s\n' "${summary[@]}"
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
