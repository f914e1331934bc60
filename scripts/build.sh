#!/usr/bin/env bash
# Configures and builds in build/: the given targets, or everything (program,
# CLI, tests, benchmarks) when none are given.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$root/build" -j"$(nproc)" "${targets[@]}"
