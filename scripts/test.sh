#!/usr/bin/env bash
# Builds everything and runs every test suite headless; fails when any test fails.
#   bash scripts/test.sh             in build/
#   bash scripts/test.sh --sanitize  in build-asan/, every program and test built with
#                                    AddressSanitizer and UBSan (no benchmarks)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

case "${1:-}" in
"")
    "$root/scripts/build.sh"
    dir="$root/build"
    ;;
--sanitize)
    "$root/scripts/install-deps.sh" test
    dir="$root/build-asan"
    # The build runs the test programs too (to list their tests), so it needs
    # the sanitizer settings that CTest gives the tests themselves.
    export ASAN_OPTIONS=detect_leaks=1
    export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="suppressions=$root/tests/sanitizers/ubsan.supp:halt_on_error=1:print_stacktrace=1"
    cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVENTACALC_SANITIZE=ON \
        -DVENTACALC_BUILD_BENCH=OFF >/dev/null
    cmake --build "$dir" -j"$(nproc)"
    ;;
*)
    echo "usage: bash scripts/test.sh [--sanitize]" >&2
    exit 2
    ;;
esac

cd "$dir"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
