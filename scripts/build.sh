#!/usr/bin/env bash
# Configures and builds in build/: the given targets, or everything (program,
# CLI, tests, benchmarks) when none are given. The program and the CLI alone
# (scripts/run.sh) need only the packages of running, so build/ is then
# configured without the tests and benchmarks; any other build turns them back
# on in the same folder (nothing already built is rebuilt).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
level=run
[ $# -eq 0 ] && level=test
targets=()
for t in "$@"; do
    case "$t" in
    ventacalc | ventacalc-cli) ;;
    *) level=test ;;
    esac
    targets+=(--target "$t")
done
with=ON
[ "$level" = run ] && with=OFF
"$root/scripts/install-deps.sh" "$level"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVENTACALC_BUILD_TESTS="$with" -DVENTACALC_BUILD_BENCH="$with" >/dev/null
cmake --build "$root/build" -j"$(nproc)" "${targets[@]}"
